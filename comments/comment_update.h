// The comment editor's Update, unattended: the parameter documentation of
// existing comments brought in line with the declarations, for one element
// or for every procedure of a module, rewriting only the lines whose text
// changes. Both front ends run it: `scrivlet comment update` and the
// add-in over the code the user edits.
#ifndef SCRIVLET_COMMENTS_COMMENT_UPDATE_H_
#define SCRIVLET_COMMENTS_COMMENT_UPDATE_H_

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/project_settings.h"
#include "base/vbide.h"
#include "source/elements.h"

namespace scrivlet {

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

// What a batch update tells its caller about each comment that needs an
// edit (updated) or keeps descriptions an edit would lose (leftAlone).
class CommentUpdateListener {
 public:
  virtual ~CommentUpdateListener() = default;
  // Before the edit is made: the module still holds the old lines.
  virtual void beforeEdit(const Element&, const CommentUpdate&) {}
  // After the edit is made (for leftAlone, right after beforeEdit).
  virtual void afterEdit(const Element&, const CommentUpdate&) {}
  // The element could not be updated; the others still are.
  virtual void failed(const Element&, const std::exception&) {}
};

// Updates the comments of the modules of a project, whose settings are
// read once: every module shares one unattended copy of them, which the
// editor reads live.
class ModuleCommentUpdater {
 public:
  explicit ModuleCommentUpdater(const ProjectSettings& settings);
  // Updates the comment of every procedure of `module` from the top down,
  // so that a block that grows or shrinks moves only lines that are still
  // to come. The edits are made in the module; saving them is the caller's.
  void update(CodeModule& module, CommentUpdateListener& listener);

 private:
  ProjectSettings working_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_UPDATE_H_
