#include "platform/disk_code_pane.h"

#include <algorithm>

namespace scrivlet {

void DiskCodePane::GetSelection(long& startLine, long& startColumn,
                                long& endLine, long& endColumn) const {
  startLine = startLine_;
  startColumn = startColumn_;
  endLine = endLine_;
  endColumn = endColumn_;
}

// Positions are kept as given, only held at 1 or more: a window would clip
// them to its text, but the commands must see what they asked for.
void DiskCodePane::SetSelection(long startLine, long startColumn, long endLine,
                                long endColumn) {
  startLine_ = std::max(1L, startLine);
  startColumn_ = std::max(1L, startColumn);
  endLine_ = std::max(1L, endLine);
  endColumn_ = std::max(1L, endColumn);
}

void DiskCodePane::setTopLine(long line) { topLine_ = std::max(1L, line); }

}  // namespace scrivlet
