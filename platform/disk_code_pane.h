// A code window without a window: it keeps the caret, the selection and the
// first line shown, so that the code-window commands can run (and be tested)
// on the command line. The desktop host puts a real editor behind the same
// interface.
#ifndef SCRIVLET_PLATFORM_DISK_CODE_PANE_H_
#define SCRIVLET_PLATFORM_DISK_CODE_PANE_H_

#include "base/vbide.h"

namespace scrivlet {

class DiskCodePane : public CodePane {
 public:
  explicit DiskCodePane(scrivlet::CodeModule* module) : module_(module) {}

  void GetSelection(long& startLine, long& startColumn, long& endLine,
                    long& endColumn) const override;
  void SetSelection(long startLine, long startColumn, long endLine,
                    long endColumn) override;
  long TopLine() const override { return topLine_; }
  void setTopLine(long line) override;
  scrivlet::CodeModule* CodeModule() const override { return module_; }

 private:
  scrivlet::CodeModule* module_;
  long startLine_ = 1;
  long startColumn_ = 1;
  long endLine_ = 1;
  long endColumn_ = 1;
  long topLine_ = 1;
};

}  // namespace scrivlet

#endif  // SCRIVLET_PLATFORM_DISK_CODE_PANE_H_
