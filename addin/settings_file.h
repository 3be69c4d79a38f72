// The settings file beside a project file, and the per-user preference.
//
// A settings file Calc.scriv lies beside Calc.vbp. It is ANSI text, lines
// end with CR LF, the last line has none:
//
//   #Scrivlet Project Settings#
//   addSee = 1
//   ...
//   wordWrapLength = -72
//   titlePageText = First line^scrvEOL^Second line
//   outputPath = /work/Calc/Scriv
//   templateFolder = /opt/scrivlet/Templates
//   templatePath = chm.scvt
//   comModules = Module1
//   comModules = Class1
//   comEnum = 1
//   comType = 1
//
// Keys are case-sensitive and come in a fixed order; booleans are 1/0; the
// template is stored by its file name alone and found again in the
// templates folder. A relative output or templates folder is taken relative
// to the project file's folder, so that a project moves with its settings.
#ifndef SCRIVLET_ADDIN_SETTINGS_FILE_H_
#define SCRIVLET_ADDIN_SETTINGS_FILE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"

namespace scrivlet {

inline constexpr char settingsFileHeader[] = "#Scrivlet Project Settings#";
// What stands for a line break of the title page text in the file.
inline constexpr char titlePageLineBreak[] = "^scrvEOL^";

// Result codes of loadProjectSettings.
enum : int {
  settingsLoaded = 0,
  settingsNotASettingsFile = 1,  // wrong first line or an unknown key
  settingsAbandoned = 2,         // the user gave up after a file error
  settingsFailed = 3,            // any other error; every error when silent
};

// One key of the settings file, in the order the file holds them.
struct SettingField {
  enum Kind {
    flag,            // boolean: "0" is false, anything else true
    userFlag,        // addUserN
    userName,        // userNName: empty reads as "userN"
    userDefault,     // userNDefault
    number,          // signed 16-bit integer
    titlePage,       // line breaks stored as "^scrvEOL^"
    outputFolder,    // relative to the project's folder
    templateFolder,  // one trailing separator dropped; relative as above
    templateFile,    // only the file name is stored
    codePage,        // the project's ANSI code page, 1 to 65535
  };
  std::string key;
  Kind kind;
  int tag = 0;  // user tag index 0..4
  bool ProjectSettings::*boolean = nullptr;
  std::int16_t ProjectSettings::*integer = nullptr;
  // Written after the module lines: keys that came after them. A file
  // without them is older and holds their defaults.
  bool afterModules = false;
};
const std::vector<SettingField>& settingFields();
// The key of the module lines that follow the fields.
inline constexpr char modulesKey[] = "comModules";

// Where the folders of a settings file are stored relative to, so that the
// file can be committed with the project and used on another machine.
struct SettingsPaths {
  std::string projectFolder;    // the project file's folder
  std::string templatesFolder;  // the add-in's own templates
};
// The value of `field` as the file holds it. With `paths`, an output or
// templates folder inside the project's folder is written relative to it
// ("Scriv", "docs/api"), and the add-in's own templates folder as empty;
// other folders stay absolute.
std::string settingValue(const ProjectSettings& settings,
                         const SettingField& field,
                         const SettingsPaths& paths = {});
// The whole file text, lines joined by single CRs.
std::string settingsText(const ProjectSettings& settings,
                         const SettingsPaths& paths = {});
// "/p/Scriv" -> "Scriv" and "/p" -> "." for the folder "/p"; a path outside
// it unchanged.
std::string pathInFolder(const std::string& path, const std::string& folder);
// Reads a signed 16-bit decimal: "-72" gives -72 and 0; text that is not a
// number answers 13 (type mismatch), "40000" answers 6 (overflow).
int readInteger16(const std::string& text, std::int16_t& value);
// A code page number, 1 to 65535 ("1252", "65001"); 0 or the error number.
int readCodePage(const std::string& text, std::int32_t& value);

// The settings of the active project of `vbe`.
class SettingsFile {
 public:
  SettingsFile(const VBE& vbe, FileServices& services, std::string addinFolder);

  // /work/Calc.vbp -> /work/Calc.scriv (".vbp" found without regard to
  // case, anything after it dropped); a name without ".vbp" gets ".scriv".
  std::string settingsFilePath() const;
  // /work/Calc.vbp -> /work/Scriv; the add-in folder when the project cannot
  // be read.
  std::string defaultOutputFolder() const;
  // Every field to its default, every code module of the project selected.
  void setDefaultSettings(ProjectSettings& settings) const;
  // Reads the settings file over `settings`; answers a settingsLoaded...
  // code. Not silent, a file error asks the user: retry reads the file
  // again, skip goes on past the failing line.
  int loadProjectSettings(ProjectSettings& settings, bool silent);
  // Makes `settings` belong to the active project: defaults, then the file
  // if it reads completely, then the output folder is created.
  void reloadProjectSettings(ProjectSettings& settings);
  // The same without creating the output folder, for tools that only look;
  // answers the result of the silent load.
  int readSettingsOrDefaults(ProjectSettings& settings);
  // Creates the settings' output folder and any missing parents; one that
  // cannot be made shows when the first page is written.
  void createOutputFolder(const ProjectSettings& settings);
  // Writes the file; answers writeTextFile's result code.
  int saveProjectSettings(const ProjectSettings& settings);
  // The file's text as saveProjectSettings writes it.
  std::string text(const ProjectSettings& settings) const;
  // Reads only the user-tag keys (addUserN, userNName, userNDefault) of
  // another settings file into `settings`; every other key is skipped.
  // Not silent; answers a settingsLoaded... code.
  int importUserTags(ProjectSettings& settings, const std::string& path);

  // The folder of the project file, where relative folders start; empty
  // when the project has no file name.
  std::string projectFolder() const;
  const std::string& addinFolder() const { return addinFolder_; }
  std::string defaultTemplateFolder() const;
  std::string defaultTemplatePath() const;

 private:
  std::string projectFileName() const;

  const VBE& vbe_;
  FileServices& services_;
  std::string addinFolder_;
};

// "doc" -> "/work/Calc/doc" for a project in /work/Calc; an absolute path
// stays; an empty one is the project's folder itself.
std::string resolveProjectPath(const std::string& path,
                               const std::string& projectFolder);

// The user's configuration folder: $XDG_CONFIG_HOME, else ~/.config; empty
// when neither is known.
std::string userConfigFolder();

// The per-user preference store: an INI file. Absent keys read as
// `fallback`; saving creates the file and its folders.
std::string userPreferencesPath();
std::string readUserSetting(FileSystem& files, const std::string& iniPath,
                            const std::string& section, const std::string& key,
                            const std::string& fallback);
int saveUserSetting(FileSystem& files, const std::string& iniPath,
                    const std::string& section, const std::string& key,
                    const std::string& value);
// Whether the main dialog opens when the add-in connects ("1" or "0").
bool displayOnConnect(FileSystem& files, const std::string& iniPath);
int setDisplayOnConnect(FileSystem& files, const std::string& iniPath,
                        bool display);

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_SETTINGS_FILE_H_
