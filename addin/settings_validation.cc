#include "addin/settings_validation.h"

#include "addin/settings_file.h"
#include "base/keyed_collection.h"
#include "base/text.h"

namespace scrivlet {

namespace {

const SettingField* findField(const std::string& key) {
  for (const SettingField& field : settingFields())
    if (field.key == key) return &field;
  return nullptr;
}

// The tag names a comment can carry after "@".
bool isTagName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
          (c >= '0' && c <= '9')))
      return false;
  return true;
}

// The largest value of a number that chooses between a few behaviours; -1
// when any 16-bit value goes.
int largestChoice(const std::string& key) {
  if (key == "indentMode" || key == "autoUpdateParams" ||
      key == "autoInsertEOL")
    return 1;
  if (key == "insertSourceGlobal") return 2;
  return -1;
}

std::string setModules(ProjectSettings& settings, const VBProject& project,
                       const std::string& value) {
  ProjectSettings all;
  selectAllModules(all, &project);
  KeyedCollection<CodeModule*> chosen;
  for (const std::string& part : split(value, ",")) {
    std::string name = trim(part);
    if (name.empty()) continue;
    CodeModule* const* module = all.selectedModules.find(name);
    if (!module)
      return std::string(modulesKey) + ": the project has no code module \"" +
             name + "\"";
    chosen.add((*module)->Name(), *module);
  }
  settings.selectedModules = std::move(chosen);
  return {};
}

std::string templateFileName(const ProjectSettings& settings) {
  return settingValue(settings, *findField("templatePath"));
}

}  // namespace

std::string setSetting(ProjectSettings& settings, const VBProject& project,
                       const std::string& projectFolder, const std::string& key,
                       const std::string& value) {
  if (key == modulesKey) return setModules(settings, project, value);
  const SettingField* field = findField(key);
  if (!field) return key + ": no such settings key";
  using F = SettingField;
  // Any other value would break its line in the file.
  if (field->kind != F::titlePage &&
      value.find_first_of("\r\n") != std::string::npos)
    return key + ": the value must be one line";
  const std::size_t tag = static_cast<std::size_t>(field->tag);
  switch (field->kind) {
    case F::flag:
    case F::userFlag: {
      if (value != "0" && value != "1") return key + ": expected 1 or 0";
      bool& flag = field->kind == F::flag ? settings.*field->boolean
                                          : settings.addUser[tag];
      flag = value == "1";
      return {};
    }
    case F::codePage: {
      std::int32_t number = 0;
      if (readCodePage(value, number) != 0)
        return key + ": expected a code page number from 1 to 65535";
      settings.codePage = number;
      return {};
    }
    case F::number: {
      std::int16_t number = 0;
      if (readInteger16(value, number) != 0)
        return key + ": expected a whole number from -32768 to 32767";
      int largest = largestChoice(key);
      if (largest >= 0 && (number < 0 || number > largest))
        return key + ": expected a number from 0 to " + std::to_string(largest);
      settings.*field->integer = number;
      return {};
    }
    case F::userName:
      if (!isTagName(value))
        return key + ": a tag name takes only the letters A-Z, a-z and digits";
      settings.userName[tag] = value;
      return {};
    case F::userDefault:
      settings.userDefault[tag] = value;
      return {};
    case F::titlePage: {
      std::string text = replaceAll(value, "\r\n", "\r");
      text = replaceAll(text, "\n", "\r");
      settings.titlePageText = replaceAll(text, titlePageLineBreak, "\r");
      return {};
    }
    case F::outputFolder:
      settings.outputPath = resolveProjectPath(value, projectFolder);
      return {};
    case F::templateFolder: {
      std::string folder = value;
      if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
      std::string name = templateFileName(settings);
      settings.templateFolder = resolveProjectPath(folder, projectFolder);
      settings.templatePath = settings.templateFolder + "/" + name;
      return {};
    }
    case F::templateFile:
      // The file keeps only the name; a folder given here would be lost.
      if (value.empty() || value.find('/') != std::string::npos)
        return key + ": expected the file name of a template in templateFolder";
      settings.templatePath = settings.templateFolder + "/" + value;
      return {};
  }
  return {};
}

std::string missingTemplate(const ProjectSettings& settings, FileSystem& files) {
  if (files.fileExists(settings.templatePath)) return {};
  return "templatePath: there is no template " + settings.templatePath;
}

}  // namespace scrivlet
