#include "desktop/code_window.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

#include "addin/windows/qt_text.h"
#include "desktop/vb_highlighter.h"

namespace scrivlet {

namespace {

class LineNumbers : public QWidget {
 public:
  explicit LineNumbers(CodeWindow* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->lineNumberWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    editor_->paintLineNumbers(event);
  }

 private:
  CodeWindow* editor_;
};

}  // namespace

CodeWindow::CodeWindow(IdeCodeModule& module, QString caption,
                       QMenu* contextMenu, QWidget* parent)
    : QPlainTextEdit(parent),
      module_(module),
      caption_(std::move(caption)),
      contextMenu_(contextMenu),
      lineNumbers_(new LineNumbers(this)) {
  setObjectName(QStringLiteral("codeWindow"));
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(10);
  setFont(font);
  setLineWrapMode(NoWrap);
  setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
  new VbHighlighter(document());

  QStringList lines;
  for (const std::string& line : module.allLines())
    lines << toQString(line, module.codePage());
  replaceText(lines.join(QLatin1Char('\n')));
  document()->clearUndoRedoStacks();
  moveCursor(QTextCursor::Start);

  connect(document(), &QTextDocument::contentsChange, this, [this] {
    if (showingModule_) return;
    userEdited_ = true;
    refreshTitle();
  });
  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { setViewportMargins(lineNumberWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this,
          [this](const QRect& rect, int dy) {
            if (dy)
              lineNumbers_->scroll(0, dy);
            else
              lineNumbers_->update(0, rect.y(), lineNumbers_->width(),
                                   rect.height());
          });
  setViewportMargins(lineNumberWidth(), 0, 0, 0);
  module_.setView(this);
  refreshTitle();
}

CodeWindow::~CodeWindow() {
  // What the user typed stays in the module when the window goes.
  module_.pull();
  module_.setView(nullptr);
}

void CodeWindow::refreshTitle() {
  setWindowTitle(caption_ + QStringLiteral("[*]"));
  setWindowModified(module_.changed());
}

std::vector<std::string> CodeWindow::takeLines() {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(document()->blockCount()));
  for (QTextBlock block = document()->begin(); block.isValid();
       block = block.next())
    lines.push_back(fromQString(block.text(), module_.codePage()));
  userEdited_ = false;
  return lines;
}

void CodeWindow::replaceText(const QString& text) {
  showingModule_ = true;
  QTextCursor cursor(document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(text);
  showingModule_ = false;
}

void CodeWindow::linesInserted(long line, const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& each : lines)
    shown << toQString(each, module_.codePage());
  long before = module_.disk().CountOfLines() - static_cast<long>(lines.size());
  QString text = shown.join(QLatin1Char('\n'));
  if (before <= 0) {
    replaceText(text);
  } else {
    showingModule_ = true;
    QTextCursor cursor(document());
    if (line <= before) {
      cursor.setPosition(document()->findBlockByNumber(int(line - 1)).position());
      cursor.insertText(text + QLatin1Char('\n'));
    } else {
      cursor.movePosition(QTextCursor::End);
      cursor.insertText(QLatin1Char('\n') + text);
    }
    showingModule_ = false;
  }
  refreshTitle();
}

void CodeWindow::linesDeleted(long start, long count) {
  if (module_.disk().CountOfLines() == 0) {
    replaceText(QString());
    refreshTitle();
    return;
  }
  showingModule_ = true;
  QTextCursor cursor(document());
  QTextBlock first = document()->findBlockByNumber(int(start - 1));
  QTextBlock next = document()->findBlockByNumber(int(start + count - 1));
  if (next.isValid()) {
    cursor.setPosition(first.position());
    cursor.setPosition(next.position(), QTextCursor::KeepAnchor);
  } else {
    // Through the last line: the line break before them goes too.
    QTextBlock previous = first.previous();
    cursor.setPosition(previous.position() + previous.length() - 1);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  }
  cursor.removeSelectedText();
  showingModule_ = false;
  refreshTitle();
}

int CodeWindow::positionOf(long line, long column) const {
  line = std::clamp(line, 1L, static_cast<long>(document()->blockCount()));
  QTextBlock block = document()->findBlockByNumber(int(line - 1));
  QString text = block.text();
  int i = 0;
  while (i < text.size() &&
         static_cast<long>(fromQString(text.left(i), module_.codePage()).size()) <
             column - 1)
    ++i;
  return block.position() + i;
}

void CodeWindow::columnOf(int position, long& line, long& column) const {
  QTextBlock block = document()->findBlock(position);
  line = block.blockNumber() + 1;
  QString before = block.text().left(position - block.position());
  column = static_cast<long>(fromQString(before, module_.codePage()).size()) + 1;
}

void CodeWindow::getSelection(long& startLine, long& startColumn, long& endLine,
                              long& endColumn) const {
  QTextCursor cursor = textCursor();
  columnOf(cursor.selectionStart(), startLine, startColumn);
  columnOf(cursor.selectionEnd(), endLine, endColumn);
}

void CodeWindow::setSelection(long startLine, long startColumn, long endLine,
                              long endColumn) {
  QTextCursor cursor(document());
  cursor.setPosition(positionOf(startLine, startColumn));
  cursor.setPosition(positionOf(endLine, endColumn), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  ensureCursorVisible();
}

long CodeWindow::topLine() const { return firstVisibleBlock().blockNumber() + 1; }

void CodeWindow::setTopLine(long line) {
  verticalScrollBar()->setValue(int(line - 1));
}

std::string CodeWindow::Caption() const { return fromQString(caption_); }

void CodeWindow::SetFocus() {
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
    if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
  setFocus();
  emit focused(this);
}

// At once, not when the event loop comes round: the caller goes on to list
// the windows that are open.
void CodeWindow::Close() {
  QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (!frame) frame = this;
  if (frame->close()) delete frame;
}

int CodeWindow::lineNumberWidth() const {
  int digits = 1;
  for (int count = std::max(1, blockCount()); count >= 10; count /= 10) ++digits;
  return 12 + fontMetrics().horizontalAdvance(QLatin1Char('9')) *
                  std::max(3, digits);
}

void CodeWindow::paintLineNumbers(QPaintEvent* event) {
  QPainter painter(lineNumbers_);
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  int height = qRound(blockBoundingRect(block).height());
  while (block.isValid() && top <= event->rect().bottom()) {
    if (block.isVisible() && top + height >= event->rect().top())
      painter.drawText(0, top, lineNumbers_->width() - 6, height,
                       Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(block.blockNumber() + 1));
    block = block.next();
    top += height;
  }
}

void CodeWindow::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  QRect area = contentsRect();
  lineNumbers_->setGeometry(area.left(), area.top(), lineNumberWidth(),
                            area.height());
}

void CodeWindow::contextMenuEvent(QContextMenuEvent* event) {
  emit focused(this);
  if (contextMenu_) contextMenu_->exec(event->globalPos());
}

void CodeWindow::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  emit focused(this);
}

}  // namespace scrivlet
