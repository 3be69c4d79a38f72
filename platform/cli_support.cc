#include "platform/cli_support.h"

#include <iostream>

#include "source/text.h"

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
  settings = ProjectSettings();
  selectAllModules(settings, vbe.ActiveVBProject());
}

}  // namespace scrivlet
