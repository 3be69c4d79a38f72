#include "masker/folder_masker.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "masker/masking.h"

namespace tessick {

namespace {

namespace fs = std::filesystem;

char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Wildcard match with one remembered star: on a mismatch the last star takes
// one character more, which is enough because later stars only start later.
bool wildcardMatch(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || foldAscii(pattern[p]) == foldAscii(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

bool isOrdinaryFile(const fs::directory_entry& entry) {
  std::error_code ec;
  const std::string name = entry.path().filename().string();
  return !name.empty() && name.front() != '.' && entry.is_regular_file(ec) &&
         !entry.is_symlink(ec);
}

std::string folderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool readAll(int fd, std::string& text, std::size_t size) {
  text.resize(size);
  std::size_t done = 0;
  while (done < size) {
    ssize_t got = ::read(fd, text.data() + done, size - done);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return false;
    if (got == 0)
      break;
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);
  return true;
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0 && errno == EINTR)
      continue;
    if (put <= 0)
      return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

// Reads a regular file whole; false when it cannot be read.
bool readFile(const std::string& path, std::string& text, mode_t& mode) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
    return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            readAll(fd, text, static_cast<std::size_t>(info.st_size));
  mode = info.st_mode & 07777;
  ::close(fd);
  return ok;
}

// Writes the text to a new temporary file beside the target and moves it
// over the target, so the target is either the old file or the new one.
void replaceFile(const std::string& path, const std::string& text, mode_t mode) {
  std::string temporary = folderOf(path) + ".tessick-XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0)
    return;
  // Synced before the rename, so that a crash cannot leave the renamed file
  // empty with the original gone.
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0)
    ::unlink(temporary.c_str());
}

}  // namespace

bool matchesExtension(std::string_view name, std::string_view extension) {
  std::string pattern = "*.";
  pattern += extension;
  return wildcardMatch(name, pattern);
}

std::optional<std::vector<std::string>> listFiles(const std::string& folder,
                                                  std::string_view extension) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  if (ec)
    return std::nullopt;
  std::vector<std::string> names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (isOrdinaryFile(*it) && matchesExtension(name, extension))
      names.push_back(std::move(name));
  }
  if (ec)
    return std::nullopt;
  std::sort(names.begin(), names.end());
  return names;
}

void rewriteContents(const std::string& path) {
  std::string text;
  mode_t mode = 0;
  if (!readFile(path, text, mode) || text.empty() || isMaskedFileText(text))
    return;
  // A write-protected file stays as it is rather than being replaced.
  if (::access(path.c_str(), W_OK) != 0)
    return;
  replaceFile(path, maskFileText(text), mode);
}

void renameMasked(const std::string& folder, const std::string& name,
                  ProducedNames& produced, std::vector<std::string>& notices) {
  std::string maskedName = maskNonAscii(name);
  if (maskedName == name)
    return;
  std::string key = maskedName;
  for (char& c : key)
    c = foldAscii(c);
  auto earlier = produced.find(key);
  if (earlier != produced.end()) {
    notices.push_back("Tessick: " + folder + name + " keeps its name: " +
                      maskedName + " is the new name of " + earlier->second);
    return;
  }
  // rename() replaces a file of the new name in one step: deleting it first
  // and then moving would leave a moment with neither file in place.
  if (::rename((folder + name).c_str(), (folder + maskedName).c_str()) == 0)
    produced.emplace(std::move(key), name);
}

bool maskFolder(const Options& options, std::vector<std::string>& notices) {
  if (options.extensions.empty())
    return true;
  ProducedNames produced;
  std::string_view list = options.extensions;
  while (true) {
    std::size_t comma = list.find(',');
    std::string_view extension = list.substr(0, comma);
    // An empty item (as in "htm,,hhc") would select every file without an
    // extension; it selects nothing instead.
    if (!extension.empty()) {
      auto names = listFiles(options.folder, extension);
      if (!names)
        return false;
      for (const std::string& name : *names) {
        if (options.mode != Mode::namesOnly)
          rewriteContents(options.folder + name);
        if (options.mode != Mode::contentsOnly)
          renameMasked(options.folder, name, produced, notices);
      }
    }
    if (comma == std::string_view::npos)
      return true;
    list.remove_prefix(comma + 1);
  }
}

}  // namespace tessick
