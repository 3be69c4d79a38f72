// The work of "scrivlet settings PROJECT [--set KEY=VALUE]...": show the
// active project's settings as its settings file holds them, or change
// keys and save the file.
#ifndef SCRIVLET_CLI_SETTINGS_COMMAND_H_
#define SCRIVLET_CLI_SETTINGS_COMMAND_H_

#include <iosfwd>
#include <string>
#include <vector>

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

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_SETTINGS_COMMAND_H_
