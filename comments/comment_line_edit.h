// The parameter documentation of a comment block brought in line with an
// Update as a minimal edit of its source lines: the "@param" and "@return"
// lines (with their continuation lines) whose text the Update changes are
// rewritten in the skeleton's form; every other line keeps its bytes:
// description, remarks, tags the parser does not know, lines after "@see",
// the user's own spacing. Unattended runs (the command line, a batch over a
// whole project) write comments this way, so that nothing but what the
// declaration says is touched and a second run finds nothing to do.
#ifndef SCRIVLET_COMMENTS_COMMENT_LINE_EDIT_H_
#define SCRIVLET_COMMENTS_COMMENT_LINE_EDIT_H_

#include <string>
#include <vector>

#include "base/project_settings.h"
#include "comments/comment_generator.h"

namespace scrivlet {

struct CommentLineEdit {
  // The block after the edit, as the module holds it (indent, apostrophes).
  std::vector<std::string> lines;
  bool changed = false;
  // Descriptions the edit would lose, which leave the block as it was: a
  // parameter the declaration no longer has, named as the comment names
  // it, or "@return" for a member that returns nothing now; with the
  // block's line (0-based, the opener is 0) where each stands.
  struct Kept {
    std::string name;
    std::size_t line = 0;
  };
  std::vector<Kept> kept;
};

// `block` is a documentation block as it stands in the code, opener first;
// `updated` what the Update made of its parameters and return text (lines
// joined by CR). With `editParams` or `editReturn` off those lines stay.
// The "@param" lines stand in the order of `updated` where the first of
// them stood, or above the first tag line when there was none; a new
// "@return" line follows them. Changed lines are wrapped when wrapping is
// on; a text that differs from the old one only in where its lines break is
// no change.
CommentLineEdit editParamDocumentation(const std::vector<std::string>& block,
                                       const ParamDocumentation& updated,
                                       bool editParams, bool editReturn,
                                       const ProjectSettings& settings);

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_LINE_EDIT_H_
