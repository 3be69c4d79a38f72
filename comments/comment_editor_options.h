// The comment editor's options: whether and where comments wrap, and
// whether "$EOL$" is shown as a line break. The wrap length survives
// switching wrapping off, because it is then stored negated.
#ifndef SCRIVLET_COMMENTS_COMMENT_EDITOR_OPTIONS_H_
#define SCRIVLET_COMMENTS_COMMENT_EDITOR_OPTIONS_H_

#include <string>

#include "base/change_notifier.h"
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
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  // "Line length (in characters)", as typed.
  const std::string& lengthText() const { return lengthText_; }
  void setLengthText(const std::string& text);
  bool lengthEnabled() const { return wordWrap_; }
  // Leaving the length box: the typed number held within the limits
  // ("7" -> "10", "900" -> "500", "abc" -> "10").
  void leaveLengthBox();
  // The up-down control: the length held within the limits, moved by
  // `step`.
  void stepLength(int step);
  // "Show $EOL$ as new line. Write new line as $EOL$."
  bool showEOLAsNewLine() const { return showEOLAsNewLine_; }
  void setShowEOLAsNewLine(bool on);

  // "OK": writes the options into the settings. "Cancel" is not calling it.
  void ok(ProjectSettings& settings);

  ChangeNotifier& changes() { return changes_; }

  static int limitLength(long length);

 private:
  int limitedLength() const;

  bool wordWrap_;
  std::string lengthText_;
  bool showEOLAsNewLine_;
  ChangeNotifier changes_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMMENTS_COMMENT_EDITOR_OPTIONS_H_
