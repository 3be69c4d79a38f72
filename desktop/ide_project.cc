#include "desktop/ide_project.h"

#include <fstream>

#include "addin/settings_file.h"
#include "base/text.h"
#include "platform/disk_code_module.h"

namespace scrivlet {

IdeVBComponent::IdeVBComponent(DiskVBComponent& disk, int codePage)
    : disk_(disk) {
  if (DiskCodeModule* module = disk.diskCodeModule())
    module_ = std::make_unique<IdeCodeModule>(*module, *this, codePage);
}

IdeVBProject::IdeVBProject(DiskVBProject& disk)
    : disk_(disk), codePage_(projectCodePage(disk.FileName())) {
  for (const std::unique_ptr<DiskVBComponent>& component : disk.components())
    components_.push_back(
        std::make_unique<IdeVBComponent>(*component, codePage_));
}

std::vector<VBComponent*> IdeVBProject::VBComponents() const {
  std::vector<VBComponent*> result;
  for (const auto& component : components_) result.push_back(component.get());
  return result;
}

bool IdeVBProject::changed() const {
  for (const auto& component : components_)
    if (component->ideCodeModule() && component->ideCodeModule()->changed())
      return true;
  return disk_.changed();
}

void IdeVBProject::save(std::vector<std::string>& errors) {
  for (const auto& component : components_)
    if (IdeCodeModule* module = component->ideCodeModule()) module->pull();
  // The user sees every module of the project in the explorer and saves
  // what they (or an add-in they ran) changed, shared modules included.
  disk_.saveChanged(errors, /*outsideAllowed=*/true);
}

int projectCodePage(const std::string& projectFile) {
  std::string path = projectFile;
  if (endsWith(foldCase(path), ".vbp")) path.resize(path.size() - 4);
  std::ifstream file(path + ".scriv", std::ios::binary);
  std::string line;
  std::int32_t codePage = 1252;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == CR) line.pop_back();
    std::size_t equals = line.find('=');
    if (equals == std::string::npos || trim(line.substr(0, equals)) != "codePage")
      continue;
    readCodePage(trim(line.substr(equals + 1)), codePage);
  }
  return codePage;
}

}  // namespace scrivlet
