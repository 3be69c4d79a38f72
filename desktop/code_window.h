// A code window: the text of one module in an editor with line numbers and
// Visual Basic colours, the module's header and attribute lines hidden (the
// module shows only its visible lines). It is the module's code pane: its
// caret and selection are what the add-in reads and sets.
#ifndef SCRIVLET_DESKTOP_CODE_WINDOW_H_
#define SCRIVLET_DESKTOP_CODE_WINDOW_H_

#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>

#include <string>
#include <vector>

#include "base/vbide.h"
#include "desktop/code_view.h"
#include "desktop/ide_code_module.h"

namespace scrivlet {

class CodeWindow : public QPlainTextEdit, public CodeView, public Window {
  Q_OBJECT

 public:
  // `caption` names the window ("Calc - modMath (Code)"); `contextMenu` is
  // the "Code Window" pop-up menu, shared by every code window.
  CodeWindow(IdeCodeModule& module, QString caption, QMenu* contextMenu,
             QWidget* parent = nullptr);
  ~CodeWindow() override;

  IdeCodeModule& module() const { return module_; }
  // Shows the module's changed state ("*") in the title.
  void refreshTitle();

  // CodeView
  bool userEdited() const override { return userEdited_; }
  std::vector<std::string> takeLines() override;
  void linesInserted(long line, const std::vector<std::string>& lines) override;
  void linesDeleted(long start, long count) override;
  void getSelection(long& startLine, long& startColumn, long& endLine,
                    long& endColumn) const override;
  void setSelection(long startLine, long startColumn, long endLine,
                    long endColumn) override;
  long topLine() const override;
  void setTopLine(long line) override;
  scrivlet::Window* window() override { return this; }

  // Window
  std::string Caption() const override;
  void SetFocus() override;
  void Close() override;

  int lineNumberWidth() const;
  void paintLineNumbers(QPaintEvent* event);

 signals:
  void focused(CodeWindow* window);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  // Text position of a 1-based line and byte column, held inside the text.
  int positionOf(long line, long column) const;
  void columnOf(int position, long& line, long& column) const;
  void replaceText(const QString& text);

  IdeCodeModule& module_;
  QString caption_;
  QPointer<QMenu> contextMenu_;
  QWidget* lineNumbers_;
  bool userEdited_ = false;
  // True while the module's own changes are being shown: they are no typing.
  bool showingModule_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_DESKTOP_CODE_WINDOW_H_
