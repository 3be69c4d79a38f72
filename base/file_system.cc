#include "base/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <climits>
#include <utility>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace scrivlet {

namespace {

namespace fs = std::filesystem;

constexpr int renameAcrossDrives = 74;

bool badName(const std::string& path) {
  return path.empty() || path.find('\0') != std::string::npos;
}

// The rights a new file gets, as the process's umask allows them. The mask
// is read from /proc rather than by setting it and back: umask() changes the
// whole process, and pages are written on a thread of their own.
mode_t newFileMode() {
  static const mode_t mode = [] {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("Umask:", 0) == 0) {
        mask = static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        break;
      }
    }
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

int writeAll(int fd, std::string_view bytes) {
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

// While it lives, Ctrl+C and the other signals that end a program wait: a
// save interrupted between creating its temporary file and renaming it
// would leave that file behind, where version control picks it up.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
      sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &saved_);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t saved_;
};

// "/p/Calc.bas" -> {"/p/", "Calc.bas"}; "Calc.bas" -> {"", "Calc.bas"}.
std::pair<std::string, std::string> folderAndName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// The prefix of the temporary files of `name`: hidden, and telling whose
// they are. A temporary name adds six characters after it, and must itself
// fit in a file name: a long name is cut to fit.
std::string temporaryPrefix(const std::string& name) {
  constexpr std::size_t kNameMax = 255;
  constexpr std::size_t kAdded = 1 + 10 + 6;  // ".", ".scrivlet-", XXXXXX
  return "." + name.substr(0, kNameMax - kAdded) + ".scrivlet-";
}

// Removes the temporary files an earlier save of `name` left in `folder`
// when it was killed.
void removeLeftovers(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  const std::string prefix = temporaryPrefix(name);
  while (dirent* entry = ::readdir(dir)) {
    std::string_view entryName(entry->d_name);
    if (entryName.size() == prefix.size() + 6 &&
        entryName.substr(0, prefix.size()) == prefix)
      ::unlink((folder + std::string(entryName)).c_str());
  }
  ::closedir(dir);
}

// The file a link names, for writing through it; `path` itself when it is
// no link.
std::string linkTarget(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

bool isWritableFileMode(unsigned mode) { return (mode & 0222) != 0; }

ReplaceResult replaceFile(const std::string& requested, std::string_view bytes,
                          bool throughLinks) {
  const std::string path = throughLinks ? linkTarget(requested) : requested;
  struct stat original {};
  bool exists = ::lstat(path.c_str(), &original) == 0;
  if (exists && S_ISLNK(original.st_mode)) exists = false;
  if (exists && S_ISDIR(original.st_mode)) return {EISDIR, ReplaceResult::checking};
  // A file nobody may write is read-only, also for root: an editor does not
  // replace it either, and version control leaves such files so on purpose.
  if (exists && !isWritableFileMode(original.st_mode))
    return {EACCES, ReplaceResult::readOnly};
  const auto [folder, name] = folderAndName(path);
  SignalsHeld held;
  removeLeftovers(folder, name);
  // Beside the target, so that rename() stays on one file system.
  std::string temporary = folder + temporaryPrefix(name) + "XXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return {errno, ReplaceResult::creating};
  mode_t mode = exists ? (original.st_mode & 07777) : newFileMode();
  int err = writeAll(fd, bytes);
  if (err == 0 && ::fchmod(fd, mode) != 0) err = errno;
  // On the disk before the rename: else a crash soon after could leave the
  // renamed file empty, the original gone.
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temporary.c_str());
    return {err, ReplaceResult::writing};
  }
  return {};
}

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
  // missing file, counts as there; it is replaced, never written through,
  // so that a link planted in an output folder cannot send a page elsewhere.
  int created = writeNewFile(path, bytes);
  if (created != EEXIST) return created ? fileErrorFromErrno(created, path) : 0;
  struct stat st;
  if (::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode) &&
      !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
    return writeInPlace(path, bytes);
  ReplaceResult result = replaceFile(path, bytes, false);
  return fileErrorFromErrno(result.error, path);
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

bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         std::string& error) {
  ReplaceResult result = replaceFile(path, bytes, true);
  const std::string file = "Cannot write \"" + path + "\": ";
  switch (result.step) {
    case ReplaceResult::done:
      return true;
    case ReplaceResult::checking:
      error = file + "it is a folder: " + std::strerror(result.error);
      break;
    case ReplaceResult::readOnly:
      error = file + "Permission denied. The file may be read only.";
      break;
    case ReplaceResult::creating:
      error = file + "cannot create a temporary file: " +
              std::strerror(result.error);
      break;
    case ReplaceResult::writing:
      error = file + "write failed: " + std::strerror(result.error);
      break;
  }
  return false;
}

}  // namespace scrivlet
