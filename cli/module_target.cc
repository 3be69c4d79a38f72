#include "cli/module_target.h"

#include <filesystem>
#include <sstream>

#include "base/text.h"
#include "cli/cli_support.h"
#include "platform/disk_code_module.h"
#include "platform/disk_module_text.h"
#include "platform/disk_path.h"

namespace scrivlet {

namespace fs = std::filesystem;

namespace {

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return !a.empty() && !b.empty() && fs::equivalent(a, b, ec);
}

DiskCodeModule* findModule(DiskVBE& vbe, const std::string& file) {
  for (const auto& project : vbe.projects())
    for (const auto& component : project->components())
      if (component->diskCodeModule() && sameFile(component->filePath(), file)) {
        vbe.setActiveVBProject(project.get());
        return component->diskCodeModule();
      }
  return nullptr;
}

bool openInProject(const std::string& file, const std::string& projectFile,
                   ModuleTarget& target, std::string& error) {
  target.vbe = openProjectOrGroup(projectFile, error);
  if (!target.vbe) return false;
  target.module = findModule(*target.vbe, file);
  if (!target.module) {
    error = "\"" + projectFile + "\" does not list \"" + file + "\"";
    return false;
  }
  loadSettingsForActiveProject(*target.vbe, target.settings);
  return true;
}

int typeFromExtension(const std::string& file) {
  std::string ext = foldCase(fs::path(file).extension().string());
  if (ext == ".bas") return vbext_ct_StdModule;
  if (ext == ".frm") return vbext_ct_VBForm;
  if (ext == ".pag") return vbext_ct_PropPage;
  if (ext == ".ctl") return vbext_ct_UserControl;
  if (ext == ".dob") return vbext_ct_DocObject;
  if (ext == ".dsr") return vbext_ct_ActiveXDesigner;
  return vbext_ct_ClassModule;
}

bool openLoose(const std::string& file, ModuleTarget& target,
               std::string& error) {
  std::string bytes;
  if (!readFileBytes(file, bytes, error)) return false;
  auto module = std::make_unique<DiskCodeModule>(nullptr, bytes, file);
  std::string name = unquoteAttribute(module->moduleAttribute("VB_Name"));
  if (name.empty()) name = fs::path(file).stem().string();
  target.looseComponent =
      std::make_unique<DiskVBComponent>(name, typeFromExtension(file), file);
  target.module = module.get();
  module->setParent(target.looseComponent.get());
  target.looseComponent->setCodeModule(std::move(module));
  return true;
}

}  // namespace

std::vector<std::string> ModuleTarget::save() {
  // The user named the module's file: it is theirs to write, wherever it
  // lies. Nothing else of the project is changed by a command on one file.
  if (vbe) {
    vbe->writeOutsideProjects = true;
    return vbe->saveChanged();
  }
  std::vector<std::string> errors;
  std::string error;
  if (module && module->changed() && !module->save(error))
    errors.push_back(error);
  return errors;
}

bool openModuleTarget(const std::string& file, const std::string& projectFile,
                      ModuleTarget& target, std::string& error) {
  if (!fs::is_regular_file(file)) {
    error = "\"" + file + "\" is not a module file";
    return false;
  }
  if (!projectFile.empty()) return openInProject(file, projectFile, target, error);

  fs::path folder = fs::absolute(file).parent_path();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (foldCase(entry.path().extension().string()) != ".vbp") continue;
    ModuleTarget candidate;
    std::string ignored;
    if (openInProject(file, entry.path().string(), candidate, ignored)) {
      target = std::move(candidate);
      return true;
    }
  }
  return openLoose(file, target, error);
}

bool splitFileLine(const std::string& text, std::string& file, long& line) {
  std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon + 1 == text.size()) return false;
  std::string number = text.substr(colon + 1);
  if (number.find_first_not_of("0123456789") != std::string::npos ||
      number.size() > 9)
    return false;
  file = text.substr(0, colon);
  line = std::stol(number);
  return line > 0 && !file.empty();
}

long visibleLineOfFile(const DiskCodeModule& module, long fileLine,
                       std::string& error) {
  bool inHeader = false;
  long line = module.visibleLineAt(fileLine, inHeader);
  std::ostringstream why;
  if (line > 0) return line;
  if (line < 0)
    why << "line " << fileLine << " is past the end of the file";
  else if (inHeader)
    why << "line " << fileLine
        << " is in the module's header, which the code window does not show";
  else
    why << "line " << fileLine
        << " is an attribute line, which the code window does not show";
  error = why.str();
  return 0;
}

}  // namespace scrivlet
