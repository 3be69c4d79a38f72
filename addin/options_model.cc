#include "addin/options_model.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "base/addin_folder.h"
#include "addin/settings_file.h"
#include "compiler/template_description.h"
#include "base/text.h"

namespace scrivlet {

namespace {

constexpr char noProjectLabel[] = "No project opened !";
constexpr char templateExtension[] = ".scvt";

bool isTagNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= '0' && c <= '9');
}

bool isListedComponent(int type) {
  return type >= 1 && type <= 11 && type != vbext_ct_ResFile &&
         type != vbext_ct_RelatedDocument;
}

}  // namespace

std::string validTagName(const std::string& text, int tagNumber) {
  std::string name = trim(text);
  if (!name.empty() &&
      std::all_of(name.begin(), name.end(), isTagNameCharacter))
    return name;
  return "user" + std::to_string(tagNumber);
}

std::vector<std::string> listTemplateFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    // Templates come from Windows machines too, where HTML.SCVT is the
    // same file as html.scvt.
    if (name.size() > 5 &&
        equalsNoCase(name.substr(name.size() - 5), templateExtension) &&
        it->is_regular_file(ec))
      names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

OptionsModel::OptionsModel(ProjectSettings& settings, VBE& vbe,
                           FileServices& services, std::string addinFolder)
    : settings_(settings),
      vbe_(vbe),
      services_(services),
      addinFolder_(std::move(addinFolder)),
      projectLabel_(noProjectLabel) {}

void OptionsModel::fillValues() {
  working_ = settings_;
  startCompile = false;
  setIndentMode(working_.indentMode);
  setSourceOption(sourceOption());

  projectLabel_ = noProjectLabel;
  VBProject* project = nullptr;
  try {
    project = vbe_.ActiveVBProject();
    if (project) projectLabel_ = project->Name() + " Project:";
  } catch (const HostError&) {
  }
  controlsEnabled_ = projectLabel_ != noProjectLabel;
  compileGroupEnabled_ = false;
  if (controlsEnabled_) {
    try {
      compileGroupEnabled_ = vbe_.VBProjects().size() >= 2;
    } catch (const HostError&) {
    }
  }
  fillModules();
  refreshTemplates();
  description_ = describe(working_.templatePath);
}

void OptionsModel::fillModules() {
  modules_.clear();
  VBProject* project = nullptr;
  try {
    project = vbe_.ActiveVBProject();
  } catch (const HostError&) {
  }
  if (!project) return;
  for (VBComponent* component : project->VBComponents()) {
    try {
      if (!isListedComponent(component->Type())) continue;
      CodeModule* module = component->CodeModule();
      if (!module) continue;
      std::string name = module->Name();
      const CodeModule* const* selected = working_.selectedModules.find(name);
      modules_.push_back(
          ModuleItem{name, module, selected && *selected == module});
    } catch (const HostError&) {
    }
  }
}

void OptionsModel::setModuleChecked(std::size_t index, bool checked) {
  if (index >= modules_.size()) return;
  ModuleItem& item = modules_[index];
  item.checked = checked;
  // Adding a module that is there, or removing one that is not, is no
  // error: the list and the selection agree afterwards either way.
  if (checked)
    working_.selectedModules.add(item.name, item.module);
  else
    working_.selectedModules.remove(item.name);
}

void OptionsModel::selectAll() {
  for (std::size_t i = 0; i < modules_.size(); ++i) setModuleChecked(i, true);
}

void OptionsModel::deselectAll() {
  for (std::size_t i = 0; i < modules_.size(); ++i) setModuleChecked(i, false);
}

void OptionsModel::leaveTagName(int tag) {
  if (tag < 0 || tag > 4) return;
  std::string& name = working_.userName[static_cast<std::size_t>(tag)];
  name = validTagName(name, tag + 1);
}

int OptionsModel::importUserTags(const std::string& path) {
  if (path.empty()) return settingsLoaded;
  // Read into a copy: a file that fails half-way must not leave some of its
  // default texts behind unseen.
  ProjectSettings imported = working_;
  SettingsFile file(vbe_, services_, addinFolder_);
  int result = file.importUserTags(imported, path);
  if (result == settingsLoaded) {
    working_.addUser = imported.addUser;
    working_.userName = imported.userName;
    working_.userDefault = imported.userDefault;
  }
  return result;
}

void OptionsModel::setTemplateFolder(const std::string& folder) {
  working_.templateFolder = folder;
}

void OptionsModel::leaveTemplateFolder() {
  description_.clear();
  refreshTemplates();
}

void OptionsModel::refreshTemplates() {
  templateFiles_ = listTemplates(working_.templateFolder);
  selectedTemplate_ = -1;
  std::string folder = withoutTrailingSeparator(working_.templateFolder);
  for (std::size_t i = 0; i < templateFiles_.size(); ++i)
    if (folder + "/" + templateFiles_[i] == working_.templatePath)
      selectedTemplate_ = static_cast<int>(i);
}

void OptionsModel::selectTemplate(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= templateFiles_.size())
    return;
  selectedTemplate_ = index;
  working_.templatePath = withoutTrailingSeparator(working_.templateFolder) +
                          "/" + templateFiles_[static_cast<std::size_t>(index)];
  description_ = describe(working_.templatePath);
}

std::string OptionsModel::describe(const std::string& templatePath) const {
  // The template's own warnings are no business of the compile log.
  Progress quiet;
  return readTemplateDescription(templatePath, addinFolder_,
                                 working_.outputPath, quiet);
}

void OptionsModel::outputFolderChosen(const std::string& folder) {
  if (!folder.empty()) working_.outputPath = folder;
}

void OptionsModel::templatesFolderChosen(const std::string& folder) {
  if (folder.empty()) return;
  working_.templateFolder = folder;
  leaveTemplateFolder();
}

OptionsModel::SourceOption OptionsModel::sourceOption() const {
  switch (working_.insertSourceGlobal) {
    case sourceAlways:
      return sourceAlways;
    case sourceByTag:
      return sourceByTag;
    default:
      return sourceNever;
  }
}

int OptionsModel::apply() {
  // OK pressed with Enter from a tag-name box never leaves the box: the
  // names are cleaned here too, so that no comment gets a tag that its
  // parser cannot read back.
  for (int tag = 0; tag < 5; ++tag) leaveTagName(tag);
  ProjectSettings applied = working_;
  // Kept by the comment editor, not by this dialog.
  applied.addingMode = settings_.addingMode;
  applied.autoUpdateParams = settings_.autoUpdateParams;
  applied.wordWrapLength = settings_.wordWrapLength;
  applied.autoInsertEOL = settings_.autoInsertEOL;
  applied.codePage = settings_.codePage;
  applied.comEnum = settings_.comEnum;
  applied.comType = settings_.comType;
  settings_ = std::move(applied);
  try {
    return SettingsFile(vbe_, services_, addinFolder_)
        .saveProjectSettings(settings_);
  } catch (const HostError&) {
    return writeFailed;
  }
}

void OptionsModel::compile(bool group) {
  apply();
  // A folder typed in just now does not exist yet; without it every page
  // of the compile would fail on its own.
  try {
    SettingsFile(vbe_, services_, addinFolder_).createOutputFolder(settings_);
  } catch (const HostError&) {
  }
  services_.progress.compileGroup = group;
  startCompile = true;
}

std::string OptionsModel::helpFile() const {
  return withoutTrailingSeparator(addinFolder_) + "/manual/index.html";
}

}  // namespace scrivlet
