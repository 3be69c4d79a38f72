#include "platform/disk_path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/file_system.h"
#include "base/text.h"

namespace scrivlet {

namespace fs = std::filesystem;

namespace {

// The entry of `folder` named `name` in any case; empty when none.
std::string findNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) return {};
  for (const fs::directory_entry& entry : it) {
    std::string candidate = entry.path().filename().string();
    if (equalsNoCase(candidate, name)) return candidate;
  }
  return {};
}

}  // namespace

std::string writtenFileName(std::string_view written) {
  std::size_t slash = written.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? written
                                                     : written.substr(slash + 1));
}

std::string resolveWrittenPath(const std::string& folder,
                               std::string_view written) {
  std::string relative(written);
  for (char& c : relative)
    if (c == '\\') c = '/';
  fs::path exact = relative.starts_with('/') ? fs::path(relative)
                                             : fs::path(folder) / relative;
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact.lexically_normal().string();

  fs::path found = relative.starts_with('/') ? fs::path("/") : fs::path(folder);
  for (const fs::path& part : fs::path(relative).relative_path()) {
    std::string name = part.string();
    if (name.empty()) continue;
    fs::path next = found / name;
    if (name != "." && name != ".." && !fs::exists(next, ec)) {
      std::string match = findNoCase(found, name);
      if (match.empty()) return exact.lexically_normal().string();
      next = found / match;
    }
    found = next;
  }
  return found.lexically_normal().string();
}

bool readFileBytes(const std::string& path, std::string& bytes,
                   std::string& error) {
  switch (int err = readRegularFile(path, bytes)) {
    case 0:
      return true;
    case EISDIR:
      error = "\"" + path + "\" is a folder, not a file";
      return false;
    case ENODEV:
      error = "\"" + path + "\" is not a regular file";
      return false;
    default:
      // The category's message, unlike strerror, is safe on any thread.
      error = "Cannot read \"" + path + "\": " +
              std::generic_category().message(err);
      return false;
  }
}

}  // namespace scrivlet
