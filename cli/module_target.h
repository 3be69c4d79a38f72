// The module a command names by its file: opened inside the project whose
// settings apply to it, or on its own when no project lists it.
#ifndef SCRIVLET_CLI_MODULE_TARGET_H_
#define SCRIVLET_CLI_MODULE_TARGET_H_

#include <memory>
#include <string>

#include "base/project_settings.h"
#include "platform/disk_vb_component.h"
#include "platform/disk_vbe.h"

namespace scrivlet {

struct ModuleTarget {
  std::unique_ptr<DiskVBE> vbe;                 // none for a loose module
  std::unique_ptr<DiskVBComponent> looseComponent;
  DiskCodeModule* module = nullptr;
  ProjectSettings settings;

  // Saves what changed; the error messages.
  std::vector<std::string> save();
};

// Opens `file` in `projectFile` when given, else in the project file of
// the module's folder that lists it, else on its own with the default
// settings. False, with the reason in `error`, when the module cannot be
// opened or the named project does not list it.
bool openModuleTarget(const std::string& file, const std::string& projectFile,
                      ModuleTarget& target, std::string& error);

// "Calc.bas:12" -> {"Calc.bas", 12}; false when there is no ":LINE" or the
// line is not a positive number.
bool splitFileLine(const std::string& text, std::string& file, long& line);

// The visible line shown at line `fileLine` of the module's file; 0 with
// the reason in `error` for a hidden or missing line.
long visibleLineOfFile(const DiskCodeModule& module, long fileLine,
                       std::string& error);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_MODULE_TARGET_H_
