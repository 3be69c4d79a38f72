// scrivlet compile PROJECT: compiles the documentation of a project or of a
// project group through its template.
#include <iostream>
#include <memory>

#include "cli/command.h"
#include "cli/compile_command.h"
#include "cli/console.h"

namespace scrivlet {
namespace {

std::function<int()> setup(CLI::App& app) {
  auto options = std::make_shared<CompileOptions>();
  app.add_option("PROJECT", options->project,
                 "a project file (.vbp), or a project group (.vbg) to "
                 "compile every project of the group in turn")
      ->required();
  app.add_option("--template", options->templateFile,
                 "template file (*.scvt) for this run, instead of the "
                 "project's settings; a shipped template also by its name: "
                 "html, chm, rtf, markdown, markdown-pages");
  app.add_option("--output", options->outputFolder,
                 "output folder for this run, instead of the project's "
                 "settings; created when missing");
  app.add_flag("--quiet", options->quiet,
               "print warnings and errors only: no status line, no summary, "
               "no echo of the after-compile commands");
  app.add_option("--messages", options->messageFormat,
                 "how messages are printed: text (the default, 'FILE:LINE: "
                 "text' where a message has a place) or json (one object a "
                 "line: file, line, severity, text)")
      ->check(CLI::IsMember({"text", "json"}));
  app.add_flag("--werror", options->werror,
               "treat every warning as an error: the run exits with 1 (for "
               "CI)");
  app.add_flag("--allow-commands", options->allowCommands,
               "run the template's after-compile commands even when the "
               "project chose a template you have not trusted (see scrivlet "
               "trust); for CI over your own repository");
  app.add_flag("--write-outside-project", options->writeOutsideProject,
               "also write help numbers and descriptions into modules that "
               "lie outside the project's folder (shared modules)");
  app.footer(
      "Uses the project's settings file (PROJECT with the extension .scriv; "
      "the defaults when there is none); --template and --output change them "
      "for this run only and are not saved. Messages go to standard output, "
      "one per line; on a terminal the stage and the page being written show "
      "as one status line. Ctrl+C stops the compile at its next check; the "
      "pages written so far stay, and nothing of the project is saved (a second "
      "Ctrl+C ends the program at once). Help numbers and descriptions the compile "
      "writes into the code (settings comContextID, comWriteDescription) and "
      "the project's help file are saved when the compile ends, into the "
      "project's own modules only.\n"
      "The template's after-compile commands run when the template is one "
      "you trust: a shipped one, one given with --template, or one allowed "
      "with scrivlet trust; a template the project's settings choose "
      "otherwise writes its pages and a warning says that its commands did "
      "not run.\n"
      "Exit status: 0 documentation written without errors; 1 an error (the "
      "project or template could not be read, a template error, an output "
      "file that could not be written, an after-compile command that failed "
      "or was not found, any warning with --werror) or Ctrl+C; 2 wrong "
      "usage.");
  return [options] {
    options->liveStatus = isTerminal(1);
    options->width = terminalWidth(1);
    options->programEndsAfter = true;
    options->summary = true;
    options->json = options->messageFormat == "json";
    installInterruptHandler();
    return runCompileCommand(*options, std::cout, std::cerr);
  };
}

}  // namespace

Command compileCommand() {
  return {"compile",
                     "Compile the documentation of a project or group",
                     setup};
}
}  // namespace scrivlet
