// scrivlet comment update: brings the parameter documentation of existing
// comments in line with the declarations, as the comment editor's Update
// and Apply do, for one element (FILE:LINE) or for every commented
// procedure of a project.
#ifndef SCRIVLET_PLATFORM_COMMENT_UPDATE_COMMAND_H_
#define SCRIVLET_PLATFORM_COMMENT_UPDATE_COMMAND_H_

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/project_settings.h"
#include "source/elements.h"
#include "source/vbide.h"

namespace CLI {
class App;
}

namespace scrivlet {

// The line of a module file (1-based, counted as an editor counts them,
// the hidden header and attribute lines included) that shows visible line
// `visibleLine`; -1 when there is no such visible line.
long fileLineOfVisibleLine(std::string_view bytes, long visibleLine);

enum class UpdateOutcome { notAProcedure, noComment, upToDate, updated };

struct CommentUpdate {
  UpdateOutcome outcome = UpdateOutcome::notAProcedure;
  // The new block as it stands (or would stand) in the code, indent and
  // apostrophes included.
  std::vector<std::string> block;
};

// Runs the editor's Update on the element's comment and, when that changes
// it and `write` is set, puts the newly composed block where the old one
// stood (blank lines under it stay under it). Only procedures
// have parameters; other elements are left alone. Settings that generate no
// "@param" or "@return" lines keep the existing ones: unattended, an update
// must not wipe documentation the declaration says nothing against.
CommentUpdate updateElementComment(const std::shared_ptr<Element>& element,
                                   const ProjectSettings& settings, bool write);

// Every procedure element of a module, in member order, a property once per
// procedure (Let, Set, Get).
std::vector<std::shared_ptr<Element>> procedureElements(CodeModule& module);

struct CommentUpdateRequest {
  std::string target;   // FILE:LINE, or the project with `all`
  bool all = false;
  bool dryRun = false;
  std::string project;  // the project whose settings apply to FILE
};

// Exit codes: 0 done, 1 failed, 2 wrong usage.
int runCommentUpdate(const CommentUpdateRequest& request, std::ostream& out,
                     std::ostream& err);

// Adds the options of the command to `app` and returns the function that
// runs it once the command line is parsed. Lives with the program's
// subcommands.
std::function<int()> setupCommentUpdate(CLI::App& app);

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_COMMENT_UPDATE_COMMAND_H_
