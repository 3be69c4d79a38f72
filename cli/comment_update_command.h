// scrivlet comment update: brings the parameter documentation of existing
// comments in line with the declarations, as the comment editor's Update
// does, for one element (FILE:LINE) or for every commented procedure of a
// project; unattended, so it rewrites only the lines whose text changes.
#ifndef SCRIVLET_CLI_COMMENT_UPDATE_COMMAND_H_
#define SCRIVLET_CLI_COMMENT_UPDATE_COMMAND_H_

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "comments/comment_update.h"

namespace CLI {
class App;
}

namespace scrivlet {

// The line of a module file (1-based, counted as an editor counts them,
// the hidden header and attribute lines included) that shows visible line
// `visibleLine`; -1 when there is no such visible line.
long fileLineOfVisibleLine(std::string_view bytes, long visibleLine);

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
