#include "base/addin_folder.h"

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace scrivlet {

namespace {

// The file mapped at `address`, from the process's own memory map, so that a
// shared library finds itself and not the program that loaded it.
std::string mappedFile(std::uintptr_t address) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    std::istringstream fields(line);
    std::uintptr_t start = 0, end = 0;
    char dash = 0;
    std::string perms, offset, device, inode, path;
    fields >> std::hex >> start >> dash >> end >> perms >> offset >> device >>
        inode;
    std::getline(fields >> std::ws, path);
    if (address >= start && address < end && !path.empty() && path[0] == '/')
      return path;
  }
  return {};
}

std::string runningProgram() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string folderOf(const std::string& file) {
  std::size_t slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return withoutTrailingSeparator(file.substr(0, slash + 1));
}

}  // namespace

std::string withoutTrailingSeparator(std::string folder) {
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string findAddinFolder() {
  if (const char* chosen = std::getenv("SCRIVLET_ADDIN_FOLDER");
      chosen && *chosen)
    return withoutTrailingSeparator(chosen);
  std::string self =
      mappedFile(reinterpret_cast<std::uintptr_t>(&findAddinFolder));
  if (self.empty()) self = runningProgram();
  std::string folder = folderOf(self);
#ifdef SCRIVLET_INSTALLED_ADDIN_FOLDER
  // An installed program lies in <prefix>/bin, its add-in files in
  // <prefix>/lib/scrivlet; a build tree keeps both in one folder.
  std::error_code ec;
  if (!std::filesystem::is_directory(folder + "/Templates", ec)) {
    std::filesystem::path installed =
        std::filesystem::path(folder) / SCRIVLET_INSTALLED_ADDIN_FOLDER;
    if (std::filesystem::is_directory(installed / "Templates", ec))
      return withoutTrailingSeparator(installed.lexically_normal().string());
  }
#endif
  return folder;
}

}  // namespace scrivlet
