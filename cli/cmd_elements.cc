// scrivlet elements PROJECT: the documented elements of a project or group,
// as loading finds them under the project's settings.
#include <iostream>

#include "cli/cli_support.h"
#include "cli/command.h"
#include "comments/comment_generator.h"
#include "source/project_loader.h"

namespace scrivlet {
namespace {

void listElements(VBE& vbe, std::ostream& out) {
  ProjectSettings settings;
  loadSettingsForActiveProject(vbe, settings);
  Progress progress;
  store elements;
  ProjectLoader loader(elements, settings, progress, [&](Element& element) {
    return generateComment(element, settings);
  });
  loader.loadProject();
  for (const auto& entry : elements.all) {
    const Element& element = *entry.item;
    out << element.helpID << '\t' << element.className() << '\t'
        << entry.key << '\t' << (element.hadComment ? 1 : 0) << '\n';
  }
}

std::function<int()> setup(CLI::App& app) {
  auto path = std::make_shared<std::string>();
  app.add_option("PROJECT", *path, "a project file (.vbp) or a project group (.vbg)")
      ->required();
  app.footer(
      "Loads the project with the settings of its settings file (PROJECT with "
      "the extension .scriv, defaults when there is none) and prints one line "
      "per documented element, in loading order, the fields separated by a "
      "tab: help number, kind (Smodule, Smethod, SpropGet, ..., Senum, Stype), "
      "link, and 1 "
      "or 0 for whether the source holds a comment for it. A group lists "
      "every project in turn, each after a line \"# \" and its name.");
  return [path] {
    std::unique_ptr<DiskVBE> vbe = openForCommand(*path);
    if (!vbe) return 1;
    bool group = vbe->VBProjects().size() > 1 || isGroupFile(*path);
    for (VBProject* project : vbe->VBProjects()) {
      vbe->setActiveVBProject(project);
      if (group) std::cout << "# " << project->Name() << '\n';
      listElements(*vbe, std::cout);
    }
    return 0;
  };
}

}  // namespace

Command elementsCommand() {
  return {"elements",
                     "List the documented elements of a project or group",
                     setup};
}
}  // namespace scrivlet
