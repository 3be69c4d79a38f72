#include "cli/cli_support.h"

#include <iostream>

#include "addin/settings_file.h"
#include "base/addin_folder.h"
#include "base/file_system.h"
#include "base/text.h"
#include "base/text_file.h"
#include "cli/console.h"

namespace scrivlet {

std::unique_ptr<DiskVBE> openForCommand(const std::string& path) {
  std::string error;
  std::unique_ptr<DiskVBE> vbe = openProjectOrGroup(path, error);
  if (!vbe) {
    std::cerr << "scrivlet: " << error << '\n';
    return nullptr;
  }
  for (const std::string& message : vbe->loadMessages)
    std::cerr << "scrivlet: " << message << '\n';
  return vbe;
}

bool isGroupFile(const std::string& path) {
  return endsWith(foldCase(path), ".vbg");
}

void loadSettingsForActiveProject(VBE& vbe, ProjectSettings& settings) {
  DiskFileSystem files;
  ConsoleMessageBox box(std::cin, std::cerr, false);
  Progress progress;
  FileServices services{files, box, progress};
  // Reading only: a listing must not create the output folder.
  SettingsFile(vbe, services, findAddinFolder()).readSettingsOrDefaults(settings);
}

bool writeOutsideProjectPreferred() {
  DiskFileSystem files;
  return readUserSetting(files, userPreferencesPath(), "Settings",
                         "WriteOutsideProject", "0") == "1";
}

}  // namespace scrivlet
