#include "addin/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace scrivlet {

namespace {

namespace fs = std::filesystem;

constexpr int renameAcrossDrives = 74;

bool badName(const std::string& path) {
  return path.empty() || path.find('\0') != std::string::npos;
}

// The rights a new file gets, as the process's umask allows them.
mode_t newFileMode() {
  static const mode_t mode = [] {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

int writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// A link is written through: the file it names is replaced, the link stays.
std::string resolveLink(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

// Writes into a device or pipe in place; there is nothing to rename over.
int writeInPlace(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return fileErrorFromErrno(errno, path);
  int err = writeAll(fd, bytes);
  if (::close(fd) != 0 && err == 0) err = errno;
  return err ? fileErrorFromErrno(err, path) : 0;
}

// A new file has no earlier contents to protect: it is written in place,
// and removed again when the write fails. EEXIST when the file appeared.
int writeNewFile(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  int err = writeAll(fd, bytes);
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err) ::unlink(path.c_str());
  return err;
}

}  // namespace

int fileErrorFromErrno(int errnoValue, const std::string& path) {
  switch (errnoValue) {
    case 0:
      return 0;
    case ENOENT: {
      std::error_code ec;
      fs::path parent = fs::path(path).parent_path();
      if (!parent.empty() && !fs::is_directory(parent, ec))
        return fileError::pathNotFound;
      return fileError::fileNotFound;
    }
    case ENOTDIR:
    case ELOOP:
      return fileError::pathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return fileError::permissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return fileError::diskFull;
    case EISDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return fileError::badFileName;
    case EBUSY:
      return fileError::fileAlreadyOpen;
    case EIO:
      return fileError::deviceIOError;
    case ENXIO:
    case ENODEV:
      return fileError::deviceUnavailable;
    case EMFILE:
    case ENFILE:
      return fileError::tooManyFiles;
    case EEXIST:
      return fileError::fileAlreadyExists;
    case EXDEV:
      return renameAcrossDrives;
    default:
      return fileError::pathFileAccessError;
  }
}

int readRegularFile(const std::string& path, std::string& bytes,
                    bool* opened) {
  bytes.clear();
  if (opened) *opened = false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat st;
  int err = ::fstat(fd, &st) == 0 ? 0 : errno;
  if (err == 0 && !S_ISREG(st.st_mode))
    err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
  if (err == 0) {
    if (opened) *opened = true;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    std::vector<char> buffer(1 << 16);
    for (;;) {
      ssize_t n = ::read(fd, buffer.data(), buffer.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        err = errno;
        break;
      }
      if (n == 0) break;
      bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  if (err) bytes.clear();
  return err;
}

int DiskFileSystem::readFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  if (badName(path)) return fileError::badFileName;
  int err = readRegularFile(path, bytes);
  return err ? fileErrorFromErrno(err, path) : 0;
}

int DiskFileSystem::writeFile(const std::string& path,
                              const std::string& bytes) {
  if (badName(path)) return fileError::badFileName;
  // Most writes create a file: that is tried first. A link, even one to a
  // missing file, counts as there.
  int created = writeNewFile(path, bytes);
  if (created != EEXIST) return created ? fileErrorFromErrno(created, path) : 0;

  const std::string target = resolveLink(path);
  mode_t mode = newFileMode();
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return fileError::badFileName;
    if (!S_ISREG(st.st_mode)) return writeInPlace(target, bytes);
    // The rename would replace a read-only file as well; keep its protection.
    if (::access(target.c_str(), W_OK) != 0)
      return fileErrorFromErrno(errno, target);
    mode = st.st_mode & 07777;
  }

  fs::path targetPath(target);
  std::string temp = (targetPath.parent_path() /
                      ('.' + targetPath.filename().string() + ".XXXXXX"))
                         .string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return fileErrorFromErrno(errno, target);
  int err = writeAll(fd, bytes);
  if (err == 0 && ::fchmod(fd, mode) != 0) err = errno;
  // On the disk before the rename: else a crash soon after could leave the
  // renamed file empty, the original gone.
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    return fileErrorFromErrno(err, target);
  }
  return 0;
}

int DiskFileSystem::appendFile(const std::string& path,
                               const std::string& bytes) {
  if (badName(path)) return fileError::badFileName;
  int fd =
      ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return fileErrorFromErrno(errno, path);
  int err = writeAll(fd, bytes);
  if (::close(fd) != 0 && err == 0) err = errno;
  return fileErrorFromErrno(err, path);
}

int DiskFileSystem::deleteFile(const std::string& path) {
  if (badName(path)) return fileError::badFileName;
  if (folderExists(path)) return fileError::fileNotFound;
  if (::unlink(path.c_str()) != 0) return fileErrorFromErrno(errno, path);
  return 0;
}

int DiskFileSystem::moveFile(const std::string& from, const std::string& to) {
  if (badName(from) || badName(to)) return fileError::badFileName;
  struct stat st;
  if (::lstat(to.c_str(), &st) == 0) return fileError::fileAlreadyExists;
  if (::rename(from.c_str(), to.c_str()) != 0) {
    int err = errno;
    // ENOENT may mean either side; name the one that is missing.
    bool fromMissing = ::lstat(from.c_str(), &st) != 0;
    return fileErrorFromErrno(err, fromMissing ? from : to);
  }
  return 0;
}

int DiskFileSystem::createFolder(const std::string& path) {
  if (badName(path)) return fileError::badFileName;
  if (::mkdir(path.c_str(), 0777) != 0) {
    if (errno == ENOENT) return fileError::pathNotFound;
    return fileErrorFromErrno(errno, path);
  }
  return 0;
}

bool DiskFileSystem::fileExists(const std::string& path) const {
  struct stat st;
  return !badName(path) && ::stat(path.c_str(), &st) == 0 &&
         !S_ISDIR(st.st_mode);
}

bool DiskFileSystem::folderExists(const std::string& path) const {
  struct stat st;
  return !badName(path) && ::stat(path.c_str(), &st) == 0 &&
         S_ISDIR(st.st_mode);
}

}  // namespace scrivlet
