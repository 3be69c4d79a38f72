#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace scrivlet {

namespace {

std::string failure(const std::string& path, const char* what, int err) {
  return "Cannot write \"" + path + "\": " + what + ": " + std::strerror(err);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// mkstemp() creates the file readable by its owner only; a new file should
// get the usual permissions. umask can only be read by setting it, so it is
// set back at once (the system runs on one thread).
mode_t currentUmask() {
  mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         std::string& error) {
  struct stat original {};
  bool exists = ::stat(path.c_str(), &original) == 0;
  if (exists && S_ISDIR(original.st_mode)) {
    error = failure(path, "it is a folder", EISDIR);
    return false;
  }
  // The temporary name sits beside the target so that rename() stays on one
  // file system.
  std::string pattern = path + ".scrivlet-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = failure(path, "cannot create a temporary file", errno);
    return false;
  }
  std::string temporary(name.data());
  mode_t mode = exists ? (original.st_mode & 07777) : static_cast<mode_t>(0666 & ~currentUmask());
  bool ok = writeAll(fd, bytes);
  int err = errno;
  if (ok && ::fchmod(fd, mode) != 0) {
    ok = false;
    err = errno;
  }
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    err = errno;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    error = failure(path, "write failed", err);
  }
  return ok;
}

}  // namespace scrivlet
