#include "addin/settings_file.h"

#include <cstdlib>
#include <utility>

#include "base/text.h"

namespace scrivlet {

namespace {

// A title page of several lines is kept on one line of the file.
constexpr int unknownKey = -1;

std::vector<SettingField> makeFields() {
  using F = SettingField;
  using P = ProjectSettings;
  std::vector<F> fields;
  auto flag = [&](const char* key, bool P::*member) {
    F field{key, F::flag};
    field.boolean = member;
    fields.push_back(field);
  };
  auto number = [&](const char* key, std::int16_t P::*member) {
    F field{key, F::number};
    field.integer = member;
    fields.push_back(field);
  };
  auto userTags = [&](const char* prefix, const char* suffix, F::Kind kind) {
    for (int tag = 0; tag < 5; ++tag)
      fields.push_back(F{prefix + std::to_string(tag + 1) + suffix, kind, tag});
  };

  flag("addSee", &P::addSee);
  flag("addParam", &P::addParam);
  flag("addReturn", &P::addReturn);
  flag("addDescription", &P::addDescription);
  flag("addRem", &P::addRem);
  flag("addSame", &P::addSame);
  flag("addAuthor", &P::addAuthor);
  flag("addRevision", &P::addRevision);
  flag("addVersion", &P::addVersion);
  flag("addIncludeSource", &P::addIncludeSource);
  userTags("addUser", "", F::userFlag);
  userTags("user", "Name", F::userName);
  userTags("user", "Default", F::userDefault);
  flag("comNonCommented", &P::comNonCommented);
  flag("comPublic", &P::comPublic);
  flag("comPrivate", &P::comPrivate);
  flag("comFriend", &P::comFriend);
  flag("comEvent", &P::comEvent);
  flag("comMethod", &P::comMethod);
  flag("comStdModule", &P::comStdModule);
  flag("comObject", &P::comObject);
  flag("comForm", &P::comForm);
  flag("comProperty", &P::comProperty);
  flag("comVariable", &P::comVariable);
  flag("comConstant", &P::comConstant);
  flag("comContextID", &P::comContextID);
  flag("comWriteDescription", &P::comWriteDescription);
  number("indentMode", &P::indentMode);
  number("addingMode", &P::addingMode);
  number("insertSourceGlobal", &P::insertSourceGlobal);
  number("autoUpdateParams", &P::autoUpdateParams);
  number("wordWrapLength", &P::wordWrapLength);
  number("autoInsertEOL", &P::autoInsertEOL);
  fields.push_back(F{"titlePageText", F::titlePage});
  fields.push_back(F{"outputPath", F::outputFolder});
  fields.push_back(F{"templateFolder", F::templateFolder});
  fields.push_back(F{"templatePath", F::templateFile});
  flag("comEnum", &P::comEnum);
  fields.back().afterModules = true;
  flag("comType", &P::comType);
  fields.back().afterModules = true;
  fields.push_back(F{"codePage", F::codePage});
  fields.back().afterModules = true;
  return fields;
}

const SettingField* findField(const std::string& key) {
  for (const SettingField& field : settingFields())
    if (field.key == key) return &field;
  return nullptr;
}

bool isUserTagKey(const SettingField& field) {
  return field.kind == SettingField::userFlag ||
         field.kind == SettingField::userName ||
         field.kind == SettingField::userDefault;
}

// Every kind of line break becomes the mark; a bare CR or LF would break
// the line in the file and lose the rest of the title text.
std::string encodeLineBreaks(const std::string& text) {
  std::string encoded = replaceAll(text, "\r\n", titlePageLineBreak);
  encoded = replaceAll(encoded, "\r", titlePageLineBreak);
  return replaceAll(encoded, "\n", titlePageLineBreak);
}

std::string fileNameOf(const std::string& path) {
  std::size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string withoutOneTrailingSlash(std::string folder) {
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// Each folder of the path in turn; those that exist are left as they are.
void createFolders(FileSystem& files, const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);;
       slash = folder.find('/', slash + 1)) {
    files.createFolder(folder.substr(0, slash));
    if (slash == std::string::npos) break;
  }
}

std::string moduleName(const KeyedCollection<CodeModule*>::Entry& entry) {
  try {
    if (entry.item) return entry.item->Name();
  } catch (const HostError&) {
  }
  return entry.key;
}

// What reading a value needs besides the value.
struct ReadContext {
  const FileSystem& files;
  std::string projectFolder;
  std::string defaultTemplateFolder;
  std::string defaultTemplatePath;
  Progress* progress = nullptr;  // for the warning of a missing template
};

// Stores one value; answers 0 or the error number of a value that cannot be
// read.
int applyValue(ProjectSettings& settings, const SettingField& field,
               const std::string& value, const ReadContext& context) {
  using F = SettingField;
  const std::size_t tag = static_cast<std::size_t>(field.tag);
  switch (field.kind) {
    case F::flag:
      settings.*field.boolean = value != "0";
      return 0;
    case F::userFlag:
      settings.addUser[tag] = value != "0";
      return 0;
    case F::userName:
      settings.userName[tag] =
          value.empty() ? "user" + std::to_string(tag + 1) : value;
      return 0;
    case F::userDefault:
      settings.userDefault[tag] = value;
      return 0;
    case F::number: {
      std::int16_t number = 0;
      if (int error = readInteger16(value, number)) return error;
      settings.*field.integer = number;
      return 0;
    }
    case F::titlePage:
      settings.titlePageText = replaceAll(value, titlePageLineBreak, "\r");
      return 0;
    case F::outputFolder:
      settings.outputPath = resolveProjectPath(value, context.projectFolder);
      return 0;
    case F::templateFolder:
      // Empty: the add-in's own templates, wherever it is installed.
      settings.templateFolder =
          value.empty() ? context.defaultTemplateFolder
                        : resolveProjectPath(withoutOneTrailingSlash(value),
                                             context.projectFolder);
      return 0;
    case F::templateFile: {
      // The template is found in the templates folder read so far; a template
      // that has gone sends both back to the shipped one of the same name,
      // else to the default, and says so: silently making HTML Help sources
      // of an HTML project would be a surprise.
      std::string path = settings.templateFolder + "/" + value;
      if (context.files.fileExists(path)) {
        settings.templatePath = path;
        return 0;
      }
      std::string shipped = context.defaultTemplateFolder + "/" + value;
      settings.templateFolder = context.defaultTemplateFolder;
      settings.templatePath = context.files.fileExists(shipped)
                                  ? shipped
                                  : context.defaultTemplatePath;
      if (context.progress)
        context.progress->reportMessage(
            "WARNING: templatePath = " + value + ": the template " + path +
            " was not found; " + settings.templatePath + " is used instead.");
      return 0;
    }
    case F::codePage: {
      std::int32_t number = 0;
      if (int error = readCodePage(value, number)) return error;
      settings.codePage = number;
      return 0;
    }
  }
  return 0;
}

// The code modules that can be selected, keyed by name; 0 or the host's
// error number.
int codeModules(const VBProject& project,
                KeyedCollection<CodeModule*>& modules) {
  try {
    ProjectSettings all;
    selectAllModules(all, &project);
    modules = std::move(all.selectedModules);
    return 0;
  } catch (const HostError& e) {
    modules.clear();
    return e.number ? e.number : fileError::pathFileAccessError;
  }
}

// Reads one settings file into a record. A file error asks the user (unless
// silent): retry repeats the failed step, skip goes on after it, anything
// else ends the reading.
class SettingsReader {
 public:
  SettingsReader(FileServices& services, std::string path, bool silent,
                 ReadContext context, const VBProject* project)
      : services_(services),
        path_(std::move(path)),
        silent_(silent),
        context_(std::move(context)),
        project_(project) {}

  int read(ProjectSettings& settings) {
    while (!pass(settings)) {
    }
    return result_;
  }

 private:
  enum class Next { retry, skip, stop };

  Next onError(int errorNumber) {
    if (silent_) {
      result_ = settingsFailed;
      return Next::stop;
    }
    switch (askFileError(services_, path_, "reading", errorNumber)) {
      case fileErrorRetry:
        return Next::retry;
      case fileErrorSkip:
        return Next::skip;
      case fileErrorAbandon:
        result_ = settingsAbandoned;
        return Next::stop;
      default:
        result_ = settingsFailed;
        return Next::stop;
    }
  }

  // One reading of the file from its start; false when it must be read
  // again. A value that cannot be read does not change by reading it once
  // more, so "retry" reads the file afresh: the user may have mended it.
  bool pass(ProjectSettings& settings) {
    KeyedCollection<CodeModule*> modules;
    if (project_) {
      for (;;) {
        int error = codeModules(*project_, modules);
        if (error == 0) break;
        Next next = onError(error);
        if (next == Next::stop) return true;
        if (next == Next::skip) break;
      }
      settings.selectedModules.clear();
    }

    std::string bytes;
    for (;;) {
      int error = services_.files.readFile(path_, bytes);
      if (error == 0) break;
      Next next = onError(error);
      if (next == Next::retry) continue;
      if (next == Next::skip) result_ = settingsFailed;  // nothing to read
      return true;
    }

    std::vector<std::string> lines = fileLines(bytes);
    if (lines.empty() || lines[0] != settingsFileHeader) {
      result_ = settingsNotASettingsFile;
      return true;
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
      std::string line = trim(lines[i]);
      std::size_t equals = line.find('=');
      if (equals == std::string::npos) continue;
      int error = store(settings, modules, trim(line.substr(0, equals)),
                        trim(line.substr(equals + 1)));
      if (error == unknownKey) {
        result_ = settingsNotASettingsFile;
        return true;
      }
      if (error == 0) continue;
      Next next = onError(error);
      if (next == Next::retry) return false;
      if (next == Next::stop) return true;
    }
    if (project_) keepTemplateInItsFolder(settings);
    result_ = settingsLoaded;
    return true;
  }

  // Only the template's file name is saved, so the template must lie in the
  // templates folder read. A hand-edited file may set the folder after the
  // template, or the folder alone: the template is then looked up in that
  // folder again, with the usual fall-back to the shipped ones.
  void keepTemplateInItsFolder(ProjectSettings& settings) {
    const std::string name = fileNameOf(settings.templatePath);
    if (settings.templatePath == settings.templateFolder + "/" + name) return;
    if (const SettingField* field = findField("templatePath"))
      applyValue(settings, *field, name, context_);
  }

  int store(ProjectSettings& settings,
            const KeyedCollection<CodeModule*>& modules, const std::string& key,
            const std::string& value) {
    const bool userTagsOnly = project_ == nullptr;
    if (key == modulesKey) {
      if (userTagsOnly) return 0;
      // Unknown and repeated names are passed over without a word.
      if (CodeModule* const* module = modules.find(value))
        settings.selectedModules.add(value, *module);
      return 0;
    }
    const SettingField* field = findField(key);
    if (!field) return userTagsOnly ? 0 : unknownKey;
    if (userTagsOnly && !isUserTagKey(*field)) return 0;
    return applyValue(settings, *field, value, context_);
  }

  FileServices& services_;
  std::string path_;
  bool silent_;
  ReadContext context_;
  const VBProject* project_;
  int result_ = settingsFailed;
};

}  // namespace

const std::vector<SettingField>& settingFields() {
  static const std::vector<SettingField> fields = makeFields();
  return fields;
}

std::string pathInFolder(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.empty() || path[0] != '/') return path;
  const std::string base = withoutOneTrailingSlash(folder);
  if (path == base || path == base + "/") return ".";
  const std::string prefix = base == "/" ? base : base + "/";
  if (!startsWith(path, prefix)) return path;
  std::string relative = path.substr(prefix.size());
  // Values are read back trimmed: a blank at either end must stay inside
  // an absolute path.
  if (relative.front() == ' ' || relative.back() == ' ') return path;
  return relative;
}

std::string settingValue(const ProjectSettings& settings,
                         const SettingField& field,
                         const SettingsPaths& paths) {
  using F = SettingField;
  const std::size_t tag = static_cast<std::size_t>(field.tag);
  switch (field.kind) {
    case F::flag:
      return settings.*field.boolean ? "1" : "0";
    case F::userFlag:
      return settings.addUser[tag] ? "1" : "0";
    case F::userName:
      return settings.userName[tag];
    case F::userDefault:
      return settings.userDefault[tag];
    case F::number:
      return std::to_string(settings.*field.integer);
    case F::titlePage:
      return encodeLineBreaks(settings.titlePageText);
    case F::outputFolder:
      return pathInFolder(settings.outputPath, paths.projectFolder);
    case F::templateFolder:
      if (!paths.templatesFolder.empty() &&
          withoutOneTrailingSlash(settings.templateFolder) ==
              withoutOneTrailingSlash(paths.templatesFolder))
        return "";
      return pathInFolder(settings.templateFolder, paths.projectFolder);
    case F::templateFile:
      return fileNameOf(settings.templatePath);
    case F::codePage:
      return std::to_string(settings.codePage);
  }
  return {};
}

std::string settingsText(const ProjectSettings& settings,
                         const SettingsPaths& paths) {
  std::string text = settingsFileHeader;
  auto addFields = [&](bool afterModules) {
    for (const SettingField& field : settingFields())
      if (field.afterModules == afterModules)
        text += CR + field.key + " = " + settingValue(settings, field, paths);
  };
  addFields(false);
  for (const auto& entry : settings.selectedModules)
    text += CR + std::string(modulesKey) + " = " + moduleName(entry);
  addFields(true);
  return text;
}

int readInteger16(const std::string& text, std::int16_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return fileError::typeMismatch;
  long number = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return fileError::typeMismatch;
    if (number <= 32768) number = number * 10 + (text[i] - '0');
  }
  if (negative) number = -number;
  if (number < -32768 || number > 32767) return fileError::overflow;
  value = static_cast<std::int16_t>(number);
  return 0;
}

int readCodePage(const std::string& text, std::int32_t& value) {
  if (text.empty()) return fileError::typeMismatch;
  std::int32_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return fileError::typeMismatch;
    if (number <= 65535) number = number * 10 + (c - '0');
  }
  if (number < 1 || number > 65535) return fileError::overflow;
  value = number;
  return 0;
}

std::string resolveProjectPath(const std::string& path,
                               const std::string& projectFolder) {
  if ((!path.empty() && path[0] == '/') || projectFolder.empty()) return path;
  // "." is how the project's own folder is saved.
  if (path.empty() || path == "." || path == "./") return projectFolder;
  if (projectFolder.back() == '/') return projectFolder + path;
  return projectFolder + "/" + path;
}

SettingsFile::SettingsFile(const VBE& vbe, FileServices& services,
                           std::string addinFolder)
    : vbe_(vbe), services_(services), addinFolder_(std::move(addinFolder)) {}

std::string SettingsFile::projectFileName() const {
  try {
    const VBProject* project = vbe_.ActiveVBProject();
    return project ? project->FileName() : std::string();
  } catch (const HostError&) {
    return {};
  }
}

std::string SettingsFile::settingsFilePath() const {
  std::string name = projectFileName();
  std::size_t dot = inStrRev(foldCase(name), ".vbp");
  if (dot != 0) return name.substr(0, dot) + "scriv";
  return name + ".scriv";
}

std::string SettingsFile::defaultOutputFolder() const {
  try {
    const VBProject* project = vbe_.ActiveVBProject();
    if (!project) return addinFolder_;
    std::string name = project->FileName();
    std::size_t slash = name.rfind('/');
    if (slash == std::string::npos) return "Scriv";
    return name.substr(0, slash + 1) + "Scriv";
  } catch (const HostError&) {
    return addinFolder_;
  }
}

std::string SettingsFile::projectFolder() const {
  std::string name = projectFileName();
  std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? "/" : name.substr(0, slash);
}

std::string SettingsFile::defaultTemplateFolder() const {
  return addinFolder_ + "/Templates";
}

std::string SettingsFile::defaultTemplatePath() const {
  return addinFolder_ + "/Templates/chm.scvt";
}

void SettingsFile::setDefaultSettings(ProjectSettings& settings) const {
  ProjectSettings fresh;
  fresh.outputPath = defaultOutputFolder();
  fresh.templateFolder = defaultTemplateFolder();
  fresh.templatePath = defaultTemplatePath();
  try {
    selectAllModules(fresh, vbe_.ActiveVBProject());
  } catch (const HostError&) {
    fresh.selectedModules.clear();
  }
  settings = std::move(fresh);
}

int SettingsFile::loadProjectSettings(ProjectSettings& settings, bool silent) {
  // A project never saved has no place for its settings; reading a
  // ".scriv" from whatever folder is current would be a guess.
  if (projectFileName().empty()) return settingsFailed;
  ReadContext context{services_.files, projectFolder(), defaultTemplateFolder(),
                      defaultTemplatePath(), &services_.progress};
  SettingsReader reader(services_, settingsFilePath(), silent,
                        std::move(context), vbe_.ActiveVBProject());
  return reader.read(settings);
}

int SettingsFile::readSettingsOrDefaults(ProjectSettings& settings) {
  setDefaultSettings(settings);
  // A file that was not read completely leaves no partial values behind.
  int result = loadProjectSettings(settings, true);
  if (result != settingsLoaded) setDefaultSettings(settings);
  return result;
}

void SettingsFile::reloadProjectSettings(ProjectSettings& settings) {
  readSettingsOrDefaults(settings);
  if (!projectFileName().empty()) createOutputFolder(settings);
}

void SettingsFile::createOutputFolder(const ProjectSettings& settings) {
  // Folders that exist are left alone.
  if (!settings.outputPath.empty())
    createFolders(services_.files, settings.outputPath);
}

int SettingsFile::saveProjectSettings(const ProjectSettings& settings) {
  if (projectFileName().empty()) return writeFailed;
  return writeTextFile(services_, settingsFilePath(), text(settings), false);
}

std::string SettingsFile::text(const ProjectSettings& settings) const {
  return settingsText(settings, {projectFolder(), defaultTemplateFolder()});
}

int SettingsFile::importUserTags(ProjectSettings& settings,
                                 const std::string& path) {
  ReadContext context{services_.files, projectFolder(), defaultTemplateFolder(),
                      defaultTemplatePath()};
  SettingsReader reader(services_, path, false, std::move(context), nullptr);
  return reader.read(settings);
}

// The per-user preferences ------------------------------------------------

namespace {

constexpr char displayOnConnectKey[] = "DisplayOnConnect";
constexpr char preferencesSection[] = "Settings";

bool isSection(const std::string& line, std::string* name) {
  std::string trimmed = trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']')
    return false;
  if (name) *name = trim(trimmed.substr(1, trimmed.size() - 2));
  return true;
}

// The key of a "key=value" line, or empty.
std::string iniKey(const std::string& line, std::string* value) {
  std::size_t equals = line.find('=');
  if (equals == std::string::npos) return {};
  if (value) *value = trim(line.substr(equals + 1));
  return trim(line.substr(0, equals));
}

}  // namespace

std::string userConfigFolder() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME");
      config && config[0] == '/')
    base = config;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::string(home) + "/.config";
  else
    return {};
  return withoutOneTrailingSlash(base);
}

std::string userPreferencesPath() {
  std::string base = userConfigFolder();
  return base.empty() ? base : base + "/Scrivlet/Scrivlet.ini";
}

std::string readUserSetting(FileSystem& files, const std::string& iniPath,
                            const std::string& section, const std::string& key,
                            const std::string& fallback) {
  std::string bytes;
  if (files.readFile(iniPath, bytes) != 0) return fallback;
  bool inSection = false;
  for (const std::string& line : fileLines(bytes)) {
    std::string name, value;
    if (isSection(line, &name))
      inSection = equalsNoCase(name, section);
    else if (inSection && equalsNoCase(iniKey(line, &value), key))
      return value;
  }
  return fallback;
}

int saveUserSetting(FileSystem& files, const std::string& iniPath,
                    const std::string& section, const std::string& key,
                    const std::string& value) {
  std::string bytes;
  int error = files.readFile(iniPath, bytes);
  // An unreadable file is left alone rather than replaced by one key.
  if (error != 0 && error != fileError::fileNotFound &&
      error != fileError::pathNotFound)
    return error;
  std::vector<std::string> lines = fileLines(bytes);
  const std::string entry = key + "=" + value;
  std::size_t insertAt = lines.size();
  bool inSection = false, found = false;
  for (std::size_t i = 0; i < lines.size() && !found; ++i) {
    std::string name;
    if (isSection(lines[i], &name)) {
      if (inSection) break;
      inSection = equalsNoCase(name, section);
      if (inSection) insertAt = i + 1;
    } else if (inSection) {
      if (equalsNoCase(iniKey(lines[i], nullptr), key)) {
        lines[i] = entry;
        found = true;
      } else if (!trim(lines[i]).empty()) {
        insertAt = i + 1;
      }
    }
  }
  if (!found) {
    if (!inSection) {
      if (!lines.empty() && !trim(lines.back()).empty()) lines.emplace_back();
      lines.push_back("[" + section + "]");
      insertAt = lines.size();
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
  }
  std::size_t slash = iniPath.rfind('/');
  if (slash != std::string::npos && slash > 0)
    createFolders(files, iniPath.substr(0, slash));
  return files.writeFile(iniPath, join(lines, "\n") + "\n");
}

bool displayOnConnect(FileSystem& files, const std::string& iniPath) {
  return readUserSetting(files, iniPath, preferencesSection,
                         displayOnConnectKey, "0") == "1";
}

int setDisplayOnConnect(FileSystem& files, const std::string& iniPath,
                        bool display) {
  return saveUserSetting(files, iniPath, preferencesSection,
                         displayOnConnectKey, display ? "1" : "0");
}

}  // namespace scrivlet
