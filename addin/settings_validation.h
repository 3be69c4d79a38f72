// The values a user gives for a project's settings, one key at a time:
// what the command line's "--set" and the add-in's options store goes
// through here, so that both refuse the same values with the same words.
#ifndef SCRIVLET_ADDIN_SETTINGS_VALIDATION_H_
#define SCRIVLET_ADDIN_SETTINGS_VALIDATION_H_

#include <string>

#include "base/file_system.h"
#include "base/project_settings.h"
#include "base/vbide.h"

namespace scrivlet {

// Checks and stores one value for `key` in `settings`; answers the reason
// for refusing it ("wordWrapLength: ..."), empty when stored. Stricter than
// reading a file: booleans must be 1 or 0, tag names letters and digits,
// and `comModules` is a comma-separated list of the project's code modules.
std::string setSetting(ProjectSettings& settings, const VBProject& project,
                       const std::string& projectFolder, const std::string& key,
                       const std::string& value);

// After templateFolder or templatePath changed: the reason to refuse a
// template file that is not there ("templatePath: there is no template
// ..."), which loading would quietly replace with the shipped one; empty
// when it is there.
std::string missingTemplate(const ProjectSettings& settings, FileSystem& files);

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_SETTINGS_VALIDATION_H_
