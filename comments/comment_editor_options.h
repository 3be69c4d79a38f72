// The comment editor's options: whether and where comments wrap, and
// whether "$EOL$" is shown as a line break. The wrap length survives
// switching wrapping off, because it is then stored negated.
#ifndef SCRIVLET_COMMENTS_COMMENT_EDITOR_OPTIONS_H_
#define SCRIVLET_COMMENTS_COMMENT_EDITOR_OPTIONS_H_

#include <string>

#include "base/project_settings.h"

namespace scrivlet {

class CommentEditorOptions {
 public:
  static constexpr int minLength = 10;
  static constexpr int maxLength = 500;

  // Loads the fields from the settings: the length box shows the absolute
  // wrap length held within the limits.
  explicit CommentEditorOptions(const ProjectSettings& settings);

  // "Word wrap in source code comments"
  bool wordWrap;
  // "Line length (in characters)", as typed.
  std::string lengthText;
  // "Show $EOL$ as new line. Write new line as $EOL$."
  bool showEOLAsNewLine;

  bool lengthEnabled() const { return wordWrap; }
  // Leaving the length box: the typed number held within the limits
  // ("7" -> "10", "900" -> "500", "abc" -> "10").
  void leaveLengthBox();
  // "OK": writes the options into the settings.
  void ok(ProjectSettings& settings);

  static int limitLength(long length);
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_EDITOR_OPTIONS_H_
