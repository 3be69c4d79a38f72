// A tiny add-in for the host's tests, built as a library of its own under
// the name the host looks for: it adds one Add-Ins menu item whose caption
// tells the connect mode, and a click inserts a line at the caret.
#include <memory>
#include <string>

#include "base/addin_connection.h"

namespace {

class FakeAddin : public scrivlet::AddinConnection {
 public:
  void OnConnection(scrivlet::VBE& vbe, int connectMode) override {
    vbe_ = &vbe;
    control_ = vbe.CommandBars()->Item("Add-Ins")->Controls().Add(
        scrivlet::msoControlButton);
    control_->setCaption("Fake " + std::to_string(connectMode));
    vbe.Events()->CommandBarEvents(control_)->Click =
        [this](scrivlet::CommandBarControl*, bool&, bool&) {
          scrivlet::CodePane* pane = vbe_->ActiveCodePane();
          long line, column, endLine, endColumn;
          pane->GetSelection(line, column, endLine, endColumn);
          pane->CodeModule()->InsertLines(line, "' fake");
        };
  }
  void OnDisconnection(int) override {
    vbe_->Events()->CommandBarEvents(control_)->Click = nullptr;
    control_->Delete();
  }

 private:
  scrivlet::VBE* vbe_ = nullptr;
  scrivlet::CommandBarControl* control_ = nullptr;
};

}  // namespace

extern "C" scrivlet::AddinConnection* scrivlet_addin_create() {
  try {
    return new FakeAddin;
  } catch (...) {
    return nullptr;
  }
}
