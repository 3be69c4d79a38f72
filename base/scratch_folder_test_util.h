// For tests: a fresh folder of their own under the temporary folder, made
// with a unique name (tests run side by side under ctest) and removed with
// everything in it when the object goes.
#ifndef SCRIVLET_BASE_SCRATCH_FOLDER_TEST_UTIL_H_
#define SCRIVLET_BASE_SCRATCH_FOLDER_TEST_UTIL_H_

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace scrivlet {

class ScratchFolder {
 public:
  // In `parent` when one is given (a RAM file system for a test that
  // syncs many files).
  explicit ScratchFolder(const std::string& prefix = "scrivlet",
                         const std::filesystem::path& parent = {}) {
    std::string pattern =
        ((parent.empty() ? std::filesystem::temp_directory_path() : parent) /
         (prefix + "-XXXXXX"))
            .string();
    if (!::mkdtemp(pattern.data()))
      throw std::runtime_error("cannot make a scratch folder " + pattern);
    folder_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }
  // Moved, the folder goes with the new owner.
  ScratchFolder(ScratchFolder&& other) noexcept
      : folder_(std::exchange(other.folder_, {})) {}
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  // The folder itself, or `name` (which may hold folders) in it.
  std::string path(const std::string& name = "") const {
    return name.empty() ? folder_.string() : (folder_ / name).string();
  }
  // Writes `bytes` as they are, making the folders on the way.
  void write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path file = folder_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  // The file's bytes; empty when there is none.
  std::string read(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  bool exists(const std::string& name) const {
    return std::filesystem::exists(folder_ / name);
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_SCRATCH_FOLDER_TEST_UTIL_H_
