#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>

#include "addin/file_system.h"

namespace scrivlet {

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
