// What the subcommands share: opening a project or group with its messages
// on standard error, and the settings of the active project.
#ifndef SCRIVLET_CLI_CLI_SUPPORT_H_
#define SCRIVLET_CLI_CLI_SUPPORT_H_

#include <memory>
#include <string>

#include "base/project_settings.h"
#include "platform/disk_vbe.h"

namespace scrivlet {

// The project or group at `path`, its loading messages printed to standard
// error; none (and the reason printed) when it cannot be opened.
std::unique_ptr<DiskVBE> openForCommand(const std::string& path);

bool isGroupFile(const std::string& path);

// The user's standing choice (preference "WriteOutsideProject" = 1) to let
// commands write modules that lie outside their project's folder.
bool writeOutsideProjectPreferred();

// The settings of the active project: its settings file when there is a
// readable one, the defaults otherwise.
void loadSettingsForActiveProject(VBE& vbe, ProjectSettings& settings);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_CLI_SUPPORT_H_
