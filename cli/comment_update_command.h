// scrivlet comment update: brings the parameter documentation of existing
// comments in line with the declarations, as the comment editor's Update
// does, for one element (FILE:LINE) or for every commented procedure of a
// project; unattended, so it rewrites only the lines whose text changes.
#ifndef SCRIVLET_CLI_COMMENT_UPDATE_COMMAND_H_
#define SCRIVLET_CLI_COMMENT_UPDATE_COMMAND_H_

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/project_settings.h"
#include "base/vbide.h"
#include "source/elements.h"

namespace CLI {
class App;
}

namespace scrivlet {

// The line of a module file (1-based, counted as an editor counts them,
// the hidden header and attribute lines included) that shows visible line
// `visibleLine`; -1 when there is no such visible line.
long fileLineOfVisibleLine(std::string_view bytes, long visibleLine);

enum class UpdateOutcome { notAProcedure, noComment, upToDate, updated, leftAlone };

struct CommentUpdate {
  UpdateOutcome outcome = UpdateOutcome::notAProcedure;
  // What changes: from visible line `start` on, `oldLines` give way to
  // `newLines` (either may be empty); lines as the code holds them.
  long start = 0;
  std::vector<std::string> oldLines;
  std::vector<std::string> newLines;
  // leftAlone: the descriptions an update would lose ("@return" for the
  // return text), each with the visible line where it stands.
  std::vector<std::pair<std::string, long>> kept;
};

// Runs the editor's Update on the element's comment and works out the
// smallest edit of the block that writes its result (see
// editParamDocumentation): only "@param" and "@return" lines change, every
// other line keeps its bytes. With `write` the edit is made in the module.
// Only procedures have parameters; other elements are left alone. Settings
// that generate no "@param" or "@return" lines keep the existing ones:
// unattended, an update must not wipe documentation the declaration says
// nothing against; and a block in which a parameter that is gone still has
// the user's description is left as it is (`leftAlone`).
CommentUpdate updateElementComment(const std::shared_ptr<Element>& element,
                                   const ProjectSettings& settings, bool write);
// Makes the edit `update` describes in `module`.
void applyCommentUpdate(CodeModule& module, const CommentUpdate& update);

// Every procedure element of a module, in member order, a property once per
// procedure (Let, Set, Get).
std::vector<std::shared_ptr<Element>> procedureElements(CodeModule& module);

struct CommentUpdateRequest {
  std::string target;   // FILE:LINE, or the project with `all`
  bool all = false;
  bool dryRun = false;  // print a unified diff, write nothing
  bool check = false;   // write nothing; exit 1 when a comment is out of date
  std::string project;  // the project whose settings apply to FILE
};

// Exit codes: 0 done, 1 failed (with `check`: a comment is out of date),
// 2 wrong usage.
int runCommentUpdate(const CommentUpdateRequest& request, std::ostream& out,
                     std::ostream& err);

// Adds the options of the command to `app` and returns the function that
// runs it once the command line is parsed. Lives with the program's
// subcommands.
std::function<int()> setupCommentUpdate(CLI::App& app);

}  // namespace scrivlet

#endif  // SCRIVLET_CLI_COMMENT_UPDATE_COMMAND_H_
