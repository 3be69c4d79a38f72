// The file service behind every file the add-in reads or writes: whole
// files in, whole files out, folders, existence. Tests replace it; the disk
// implementation works over the real file system.
//
// Failures are answered with the error numbers of the environment's file
// runtime, because the file-error prompt chooses its message by them.
#ifndef SCRIVLET_BASE_FILE_SYSTEM_H_
#define SCRIVLET_BASE_FILE_SYSTEM_H_

#include <string>
#include <string_view>

namespace scrivlet {

// The file runtime's error numbers that the add-in meets.
namespace fileError {
inline constexpr int overflow = 6;
inline constexpr int typeMismatch = 13;
inline constexpr int badFileName = 52;
inline constexpr int fileNotFound = 53;
inline constexpr int badFileMode = 54;
inline constexpr int fileAlreadyOpen = 55;
inline constexpr int deviceIOError = 57;
inline constexpr int fileAlreadyExists = 58;
inline constexpr int diskFull = 61;
inline constexpr int inputPastEndOfFile = 62;
inline constexpr int badFileNameOrNumber = 64;
inline constexpr int tooManyFiles = 67;
inline constexpr int deviceUnavailable = 68;
inline constexpr int permissionDenied = 70;
inline constexpr int diskNotReady = 71;
inline constexpr int pathFileAccessError = 75;
inline constexpr int pathNotFound = 76;
}  // namespace fileError

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Every operation that can fail answers 0 or a file error number.
  virtual int readFile(const std::string& path, std::string& bytes) = 0;
  // Creates `path` or replaces it. A file that exists is replaced through a
  // temporary file beside it and a rename, so that a failure never leaves it
  // half-written; a link is replaced by a plain file, never written through.
  virtual int writeFile(const std::string& path, const std::string& bytes) = 0;
  // Adds to the end of `path`, creating it when missing.
  virtual int appendFile(const std::string& path, const std::string& bytes) = 0;
  virtual int deleteFile(const std::string& path) = 0;
  // Renames `from` to `to`; `to` must not exist yet.
  virtual int moveFile(const std::string& from, const std::string& to) = 0;
  // Creates one folder; its parent must exist and the folder must not.
  virtual int createFolder(const std::string& path) = 0;

  // A regular file (not a folder) is at `path`.
  virtual bool fileExists(const std::string& path) const = 0;
  virtual bool folderExists(const std::string& path) const = 0;
};

// The real file system.
class DiskFileSystem : public FileSystem {
 public:
  int readFile(const std::string& path, std::string& bytes) override;
  int writeFile(const std::string& path, const std::string& bytes) override;
  int appendFile(const std::string& path, const std::string& bytes) override;
  int deleteFile(const std::string& path) override;
  int moveFile(const std::string& from, const std::string& to) override;
  int createFolder(const std::string& path) override;
  bool fileExists(const std::string& path) const override;
  bool folderExists(const std::string& path) const override;
};

// The file error number for the system error `errnoValue` met while using
// `path`: a missing file is 53, but a missing folder on its way is 76.
int fileErrorFromErrno(int errnoValue, const std::string& path);

// Whether a file of mode `mode` (st_mode) may be replaced: some write bit is
// set. A file without any is read-only, whoever runs the program.
bool isWritableFileMode(unsigned mode);

// How replaceFile ended: 0, or the system error and the step it failed at.
struct ReplaceResult {
  enum Step { done, checking, readOnly, creating, writing };
  int error = 0;
  Step step = done;
};

// Replaces (or creates) the file at `path` with `bytes`, so that a failure
// never leaves it half-written: the bytes go to a hidden temporary file
// beside it (".Calc.bas.scrivlet-XXXXXX"), synced, then renamed over it.
// An existing file keeps its permission bits; a read-only one (see
// isWritableFileMode) is not replaced (EACCES). With `throughLinks` a link
// is written through to its file, else the link itself is replaced. Ctrl+C
// waits until the temporary file is renamed or removed, and leftovers of a
// save that was killed are removed first.
ReplaceResult replaceFile(const std::string& path, std::string_view bytes,
                          bool throughLinks);

// Reads the regular file at `path` whole into `bytes`: 0, or the system
// error. A folder gives EISDIR, a pipe or a device ENODEV, since it would
// block the open or be read without end. `opened` tells whether the file
// was opened before the error.
int readRegularFile(const std::string& path, std::string& bytes,
                    bool* opened = nullptr);

// A user's file (a module, a settings file) replaced as replaceFile does,
// through links to their file. On failure the original is untouched, `error`
// names the file and the cause, and false is returned.
bool writeFileAtomically(const std::string& path, std::string_view bytes,
                         std::string& error);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_FILE_SYSTEM_H_
