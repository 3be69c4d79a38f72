// The work of "scrivlet settings PROJECT [--set KEY=VALUE]...": show the
// active project's settings as its settings file holds them, or change
// keys and save the file.
#ifndef SCRIVLET_CLI_SETTINGS_COMMAND_H_
#define SCRIVLET_CLI_SETTINGS_COMMAND_H_

#include <iosfwd>
#include <string>
#include <vector>

#include "base/project_settings.h"
#include "base/text_file.h"
#include "base/vbide.h"

namespace scrivlet {

// Prints the settings of the active project of `vbe` to `out`, one line of
// the settings file per line ending in "\n". Each of `sets` ("KEY=VALUE",
// applied in order) changes a key; then the file is saved and the new
// settings printed. A settings file that exists but cannot be read is not
// overwritten. Answers the exit code: 0 done, 1 failed, 2 a key or value
// refused (nothing is saved then); reasons go to `err`.
int runSettingsCommand(const VBE& vbe, FileServices& services,
                       const std::string& addinFolder,
                       const std::vector<std::string>& sets, std::ostream& out,
                       std::ostream& err);

// Checks and stores one "--set" value in `settings`; answers the reason for
// refusing it ("wordWrapLength: ..."), empty when stored. Stricter than
// reading a file: booleans must be 1 or 0, tag names letters and digits,
// and `comModules` is a comma-separated list of the project's code modules.
std::string setSetting(ProjectSettings& settings, const VBProject& project,
                       const std::string& projectFolder, const std::string& key,
                       const std::string& value);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_SETTINGS_COMMAND_H_
