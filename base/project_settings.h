// The settings of the project being documented: what to document, which
// tags a skeleton gets, how comments wrap, where template and output lie,
// and which modules take part. One record serves the whole add-in; the
// settings file beside the project fills it.
#ifndef SCRIVLET_BASE_PROJECT_SETTINGS_H_
#define SCRIVLET_BASE_PROJECT_SETTINGS_H_

#include <array>
#include <cstdint>
#include <string>

#include "base/keyed_collection.h"
#include "base/vbide.h"

namespace scrivlet {

struct ProjectSettings {
  bool addSee = true;
  bool addParam = true;
  bool addReturn = true;
  bool addDescription = true;
  bool addRem = true;
  bool addSame = false;
  bool addAuthor = false;
  bool addRevision = false;
  bool addVersion = false;
  bool addIncludeSource = false;
  std::array<bool, 5> addUser{false, false, false, false, false};
  std::array<std::string, 5> userName{"user1", "user2", "user3", "user4",
                                      "user5"};
  std::array<std::string, 5> userDefault{};
  bool comNonCommented = true;
  bool comPublic = true;
  bool comPrivate = false;
  bool comFriend = false;
  bool comEvent = true;
  bool comMethod = true;
  bool comStdModule = false;
  bool comObject = true;
  bool comForm = true;
  bool comProperty = true;
  bool comVariable = false;
  bool comConstant = false;
  bool comContextID = false;
  bool comWriteDescription = false;
  std::int16_t indentMode = 0;
  std::int16_t addingMode = 0;
  std::int16_t insertSourceGlobal = 0;
  std::int16_t autoUpdateParams = 0;
  std::int16_t wordWrapLength = 80;
  std::int16_t autoInsertEOL = 0;
  std::string titlePageText;
  std::string outputPath;
  std::string templateFolder;
  std::string templatePath;
  // The ANSI code page the project's files are written in (Windows-1252,
  // what VB6 writes on Western systems); output converted to UTF-8 is
  // converted from it.
  std::int32_t codePage = 1252;
  // The code modules chosen for documentation, keyed by module name.
  KeyedCollection<CodeModule*> selectedModules;
  // Enum and Type blocks are documented (their scope as for members).
  bool comEnum = true;
  bool comType = true;
};

// The default selection: the code module of every component of `project`
// that has one, except resource files and related documents, in component
// order.
void selectAllModules(ProjectSettings& settings, const VBProject* project);

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_PROJECT_SETTINGS_H_
