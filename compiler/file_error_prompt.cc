#include "compiler/file_error_prompt.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace scrivlet {

int fileErrorNumber(int errnoValue, const std::string& path) {
  switch (errnoValue) {
    case ENOENT: {
      // A missing file in an existing folder is "file not found"; a missing
      // folder on the way is "path not found".
      std::error_code ec;
      std::filesystem::path parent = std::filesystem::path(path).parent_path();
      if (parent.empty() || std::filesystem::is_directory(parent, ec)) return 53;
      return 76;
    }
    case ENOTDIR: return 76;
    case EACCES:
    case EPERM:
    case EROFS: return 70;
    case ENOSPC: return 61;
    case EISDIR:
    case ENAMETOOLONG:
    case EINVAL: return 52;
    case EIO: return 57;
    case EBUSY: return 55;
    default: return 57;
  }
}

}  // namespace scrivlet
