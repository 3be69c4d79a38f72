// What a code module of the desktop host needs from the window that shows
// it. The module stays the one place that holds the text: the window tells
// it when the user typed, the module pulls the typed lines in before anyone
// reads it, and pushes the add-in's edits out to the window at once.
#ifndef SCRIVLET_DESKTOP_CODE_VIEW_H_
#define SCRIVLET_DESKTOP_CODE_VIEW_H_

#include <string>
#include <vector>

#include "base/vbide.h"

namespace scrivlet {

class CodeView {
 public:
  virtual ~CodeView() = default;
  // Whether the user changed the text since the module last pulled it.
  virtual bool userEdited() const = 0;
  // The editor's lines as ANSI bytes; clears userEdited.
  virtual std::vector<std::string> takeLines() = 0;
  // The module changed under the window: `count` lines now stand at
  // `line` (inserted), or the lines there went away (deleted).
  virtual void linesInserted(long line, const std::vector<std::string>& lines) = 0;
  virtual void linesDeleted(long start, long count) = 0;
  // Positions as the environment counts them: 1-based lines and columns,
  // a column being one byte of the module's text (a tab is one column).
  virtual void getSelection(long& startLine, long& startColumn, long& endLine,
                            long& endColumn) const = 0;
  virtual void setSelection(long startLine, long startColumn, long endLine,
                            long endColumn) = 0;
  virtual long topLine() const = 0;
  virtual void setTopLine(long line) = 0;
  virtual scrivlet::Window* window() = 0;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_CODE_VIEW_H_
