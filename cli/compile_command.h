// scrivlet compile: the documentation of a project, or of every project of
// a group, compiled through its template into its output folder, as the
// add-in's "Compile" and "Compile Group" do.
#ifndef SCRIVLET_CLI_COMPILE_COMMAND_H_
#define SCRIVLET_CLI_COMPILE_COMMAND_H_

#include <csignal>
#include <iosfwd>
#include <string>

namespace scrivlet {

struct CompileOptions {
  std::string project;       // a .vbp, or a .vbg for a group compile
  std::string templateFile;  // overrides the settings for this run
  std::string outputFolder;  // overrides the settings for this run
  bool quiet = false;        // warnings and errors only, no status line
  bool werror = false;       // any warning fails the run
  bool summary = false;      // end with the summary line (not when quiet)
  bool json = false;         // messages as JSON objects, one a line
  std::string messageFormat = "text";  // --messages: "text" or "json"
  // Run the template's after-compile commands even when the template is not
  // one the user trusts (a CI job over the team's own repository).
  bool allowCommands = false;
  // Write help numbers and descriptions also into modules outside the
  // project's folder (see also the user preference "WriteOutsideProject").
  bool writeOutsideProject = false;
  // Where the list of trusted templates is; empty: the user's own.
  std::string trustedTemplates;
  bool liveStatus = false;   // draw the status line (a terminal)
  std::size_t width = 0;     // the terminal's columns, 0 when unknown
  // The program ends after this run: the last project's model, template
  // and files are left for the system to reclaim instead of being freed.
  bool programEndsAfter = false;
};

// Exit codes.
enum : int { compileDone = 0, compileFailed = 1, compileUsage = 2 };

// Set by the interrupt handler; the next abort check of a running compile
// turns it into the user's Cancel.
extern volatile std::sig_atomic_t compileInterrupted;
// Makes Ctrl+C (SIGINT) set `compileInterrupted` instead of ending the
// program, so that the compile stops at its next check.
void installInterruptHandler();

// Runs the compile; messages go to `out`, one per line, problems outside
// the compile (a project or template that cannot be read, failed saves) to
// `err`. What the compile changed in the project (help numbers,
// descriptions, the help file) is saved at the end, to the files that
// changed only; an aborted compile saves nothing. The template's
// after-compile commands run only when the template is trusted: shipped
// with the program, given with --template, allowed with `scrivlet trust`,
// or with `allowCommands`; otherwise one warning says how to allow them.
// Returns compileDone when every project compiled to its end without an
// error (and, with `werror`, without a warning); compileFailed when the
// project or the template could not be read, an error was reported (a
// template error, a file that could not be written, an after-compile
// command that failed), or the compile was aborted. With `summary` and not
// quiet, a summary line ends the output: files written, warnings, errors,
// time.
int runCompileCommand(const CompileOptions& options, std::ostream& out,
                      std::ostream& err);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_COMPILE_COMMAND_H_
