#include "cli/settings_command.h"

#include <ostream>

#include "addin/settings_file.h"
#include "addin/settings_validation.h"
#include "base/text.h"

namespace scrivlet {

int runSettingsCommand(const VBE& vbe, FileServices& services,
                       const std::string& addinFolder,
                       const std::vector<std::string>& sets, std::ostream& out,
                       std::ostream& err) {
  const char* const me = "scrivlet settings: ";
  const VBProject* project = vbe.ActiveVBProject();
  if (!project || project->FileName().empty()) {
    err << me << "the project has no file, so it has no settings file\n";
    return 1;
  }
  SettingsFile file(vbe, services, addinFolder);
  const std::string path = file.settingsFilePath();
  const bool exists = services.files.fileExists(path);
  ProjectSettings settings;
  if (file.readSettingsOrDefaults(settings) != settingsLoaded) {
    if (exists && !sets.empty()) {
      err << me << path
          << " cannot be read as a settings file; it is left unchanged\n";
      return 1;
    }
    if (exists)
      err << me << path
          << " cannot be read as a settings file; these are the defaults\n";
    else if (sets.empty())
      err << me << path << " does not exist yet; these are the defaults\n";
  }

  bool templateChanged = false;
  for (const std::string& set : sets) {
    std::size_t equals = set.find('=');
    if (equals == std::string::npos) {
      err << me << "--set takes KEY=VALUE, not \"" << set << "\"\n";
      return 2;
    }
    std::string key = trim(set.substr(0, equals));
    std::string reason = setSetting(settings, *project, file.projectFolder(),
                                    key, trim(set.substr(equals + 1)));
    if (!reason.empty()) {
      err << me << reason << '\n';
      return 2;
    }
    templateChanged |= key == "templateFolder" || key == "templatePath";
  }
  if (templateChanged) {
    std::string reason = missingTemplate(settings, services.files);
    if (!reason.empty()) {
      err << me << reason << '\n';
      return 2;
    }
  }
  if (!sets.empty() && file.saveProjectSettings(settings) != writeDone) {
    err << me << path << " was not saved\n";
    return 1;
  }
  out << replaceAll(file.text(settings), "\r", "\n") << '\n';
  return 0;
}

}  // namespace scrivlet
