// scrivlet comment add FILE:LINE: the comment skeleton of the element at a
// line, inserted above its declaration, as the code window's "Add Scrivlet
// Comment" does; scrivlet comment update: parameter documentation brought
// in line with the declarations.
#include <iostream>

#include "cli/command.h"
#include "cli/comment_update_command.h"
#include "cli/module_target.h"
#include "comments/comment_editor_model.h"
#include "comments/comment_generator.h"
#include "platform/disk_code_module.h"
#include "source/source_lines.h"

namespace scrivlet {
namespace {

struct AddOptions {
  std::string fileLine;
  std::string project;
  bool force = false;
};

// "lines 12-15" of the file, as an editor numbers them.
std::string fileLines(const DiskCodeModule& module, long start, long end) {
  std::string bytes = module.toBytes();
  long first = fileLineOfVisibleLine(bytes, start);
  long last = fileLineOfVisibleLine(bytes, end);
  return first == last ? "line " + std::to_string(first)
                       : "lines " + std::to_string(first) + "-" +
                             std::to_string(last);
}

// Where the element's comment block stands, when it has one.
bool existingComment(const Element& element, long& start, long& end) {
  if (element.kind() == ElementKind::Smodule)
    return getModuleCommentRange(*element.cmo, start, end);
  return getCommentRange(element, start, end);
}

int runAdd(const AddOptions& options) {
  std::string file;
  long fileLine = 0;
  if (!splitFileLine(options.fileLine, file, fileLine)) {
    std::cerr << "scrivlet comment add: expected FILE:LINE with a line number "
                 "from 1, not \"" << options.fileLine << "\"\n";
    return 2;
  }
  ModuleTarget target;
  std::string error;
  if (!openModuleTarget(file, options.project, target, error)) {
    std::cerr << "scrivlet comment add: " << error << '\n';
    return 1;
  }
  long line = visibleLineOfFile(*target.module, fileLine, error);
  if (line == 0) {
    std::cerr << "scrivlet comment add: " << file << ": " << error << '\n';
    return 2;
  }
  std::shared_ptr<Element> element = elementAtLine(*target.module, line);
  // A second block would stand between the comment and the declaration and
  // hide it from the pages; in a code window the user sees that at once,
  // here nobody would.
  long start = 0, end = 0;
  if (!options.force && existingComment(*element, start, end)) {
    std::cerr << "scrivlet comment add: " << file << ": "
              << element->canonicalLink() << " already has a comment ("
              << fileLines(*target.module, start, end)
              << "); nothing changed (--force adds another block)\n";
    return 1;
  }
  addComment(*element, target.settings);
  for (const std::string& failure : target.save()) {
    std::cerr << "scrivlet comment add: " << failure << '\n';
    return 1;
  }
  std::cout << "Added a comment skeleton for " << element->canonicalLink()
            << " (" << element->className() << ") to " << file << '\n';
  return 0;
}

std::function<int()> setup(CLI::App& app) {
  app.require_subcommand(1);
  auto add = app.add_subcommand(
      "add", "Insert the comment skeleton of the element at a line");
  auto options = std::make_shared<AddOptions>();
  add->add_option("FILE:LINE", options->fileLine,
                  "a module file and a line of it, counted from 1 as an "
                  "editor shows the file")
      ->required();
  add->add_option("--project", options->project,
                  "the project (.vbp) whose settings apply; by default the "
                  "project file in the module's folder that lists it, else "
                  "the default settings");
  add->add_flag("--force", options->force,
                "insert the skeleton even when the element has a comment "
                "(the new block then stands between it and the declaration)");
  add->footer(
      "The skeleton is that of the member whose declaration or code holds the "
      "line, else of the Enum or Type block that holds it, else of the module; "
      "it goes directly above the "
      "declaration, indented like it, and the module is saved. A line of the "
      "hidden header or an attribute line is refused, and so is an element "
      "that already has a comment, unless --force is given.");
  auto update = app.add_subcommand(
      "update", "Bring parameter documentation in line with the declarations");
  std::function<int()> runUpdate = setupCommentUpdate(*update);
  return [add, options, update, runUpdate] {
    if (add->parsed()) return runAdd(*options);
    if (update->parsed()) return runUpdate();
    return 2;
  };
}

}  // namespace

Command commentCommand() {
  return {"comment", "Write documentation comments into modules",
                     setup};
}
}  // namespace scrivlet
