// scrivlet settings PROJECT [--set KEY=VALUE]...: shows or changes the
// settings file beside a project.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/addin_folder.h"
#include "base/file_system.h"
#include "base/progress.h"
#include "base/text_file.h"
#include "cli/cli_support.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/settings_command.h"

namespace scrivlet {
namespace {

std::function<int()> setup(CLI::App& app) {
  auto path = std::make_shared<std::string>();
  auto sets = std::make_shared<std::vector<std::string>>();
  app.add_option("PROJECT", *path,
                 "a project file (.vbp), or a group (.vbg) for its startup "
                 "project")
      ->required();
  app.add_option("--set", *sets,
                 "change KEY to VALUE, then save the settings file; may be "
                 "given several times")
      ->type_name("KEY=VALUE")
      ->allow_extra_args(false);
  app.footer(
      "Prints the project's settings as its settings file (PROJECT with the "
      "extension .scriv) holds them, one \"key = value\" line each; the lines "
      "end in a line feed here, in the file they end in CR LF. Without a "
      "settings file the defaults are shown. Keys are written as in the file "
      "(addSee, wordWrapLength, ...): booleans take 1 or 0, templatePath a "
      "file name in templateFolder, comModules a comma-separated list of "
      "module names, titlePageText marks line breaks with ^scrvEOL^; a "
      "relative outputPath or templateFolder is taken from the project's "
      "folder. An unknown key or a bad value is refused (exit code 2) and "
      "nothing is saved; a settings file that cannot be read is never "
      "overwritten (exit code 1).");
  return [path, sets] {
    std::unique_ptr<DiskVBE> vbe = openForCommand(*path);
    if (!vbe) return 1;
    DiskFileSystem files;
    ConsoleMessageBox box(std::cin, std::cerr, isTerminal(0) && isTerminal(2));
    Progress progress;
    FileServices services{files, box, progress};
    return runSettingsCommand(*vbe, services, findAddinFolder(), *sets,
                              std::cout, std::cerr);
  };
}

}  // namespace

Command settingsCommand() {
  return {"settings", "Show or change the settings file of a project", setup};
}
}  // namespace scrivlet
