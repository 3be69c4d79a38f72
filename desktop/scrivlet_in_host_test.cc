// Scrivlet's own windows over the host, end to end: what the user chooses in
// them reaches the project's files, and nothing else does.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

#include <cstdlib>

#include "addin/windows/screenshot_test_util.h"
#include "desktop/code_window.h"
#include "desktop/scrivlet_in_host_test_util.h"

namespace scrivlet {
namespace {

class ScrivletWindowsInIde : public ScrivletInIde {
 protected:
  void SetUp() override {
    ScrivletInIde::SetUp();
    ASSERT_TRUE(ide.frame.addins().load(scrivlet(), ext_cm_Startup))
        << ide.reports.join(u'\n').toStdString();
    ide.frame.resize(1100, 720);
    ide.frame.show();
  }
  void TearDown() override {
    EXPECT_TRUE(ide.reports.isEmpty()) << ide.reports.join(u'\n').toStdString();
  }

  // The host with `window` over its middle, as the user sees them together.
  void saveScreenshotOver(QWidget& window, const std::string& name) {
    const char* folder = std::getenv("SCRIVLET_SCREENSHOT_DIR");
    if (!folder || !*folder) return;
    QPixmap picture = ide.frame.grab();
    QPixmap over = window.grab();
    QPainter(&picture).drawPixmap((picture.width() - over.width()) / 2,
                                  (picture.height() - over.height()) / 2, over);
    QLabel shown;
    shown.setPixmap(picture);
    shown.setFixedSize(picture.size());
    saveScreenshot(shown, name);
  }

  static void typeInto(QWidget& box, const QString& text) {
    box.setFocus();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(&box))
      edit->setPlainText(text);
    if (auto* line = qobject_cast<QLineEdit*>(&box)) line->setText(text);
    box.clearFocus();
  }
  static void click(QWidget& window, const char* button) {
    QTest::mouseClick(&child<QPushButton>(window, button), Qt::LeftButton);
  }
};

// Every entry of `folder`, hidden ones too, a line each.
std::string namesIn(const QString& folder) {
  return QDir(folder)
      .entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                 QDir::Name)
      .join(u'\n')
      .toStdString();
}

TEST_F(ScrivletWindowsInIde,
       CompileFromTheOptionsWritesPagesAndKeepsTheChoice) {
  const QString pages = ide.path(QStringLiteral("pages"));
  ASSERT_FALSE(QDir(pages).exists());
  whenModal(
      [](QWidget& w) {
        return w.windowTitle() == QStringLiteral("Options") &&
               w.findChild<QListWidget*>(QStringLiteral("templateList"));
      },
      [&](QWidget& options) {
        auto& tabs = child<QTabWidget>(options, "tabs");
        tabs.setCurrentWidget(&child<QWidget>(options, "outputTab"));
        auto& templates = child<QListWidget>(options, "templateList");
        templates.setCurrentItem(
            templates.findItems(QStringLiteral("html.scvt"), Qt::MatchExactly)
                .value(0));
        auto& output = child<QLineEdit>(options, "outputPath");
        output.selectAll();
        QTest::keyClicks(&output, pages);
        saveScreenshotOver(options, "ide-with-options");
        click(options, "compileButton");
      });
  QString title, messages;
  // Ended: messages written and the window closable again.
  whenModal(
      [](QWidget& w) {
        auto* box = w.findChild<QPlainTextEdit*>(QStringLiteral("messages"));
        auto* close = w.findChild<QPushButton*>(QStringLiteral("closeButton"));
        return box && close && close->isEnabled() &&
               !box->toPlainText().isEmpty();
      },
      [&](QWidget& progress) {
        title = progress.windowTitle();
        messages = child<QPlainTextEdit>(progress, "messages").toPlainText();
        saveScreenshotOver(progress, "ide-with-progress");
        click(progress, "closeButton");
      });
  control("Add-Ins", "Scrivlet")->trigger();

  EXPECT_EQ(title, QStringLiteral("Compilation status:"));
  EXPECT_TRUE(
      messages.endsWith(QStringLiteral("Documentation written to ") + pages))
      << messages.toStdString();
  const std::string written = namesIn(pages);
  for (const char* page : {"Calc.htm", "Calculator.htm", "Calculator-Apply.htm",
                           "frmCalc.htm", "modMath-RoundHalfUp.htm"})
    EXPECT_NE(("\n" + written + "\n").find("\n" + std::string(page) + "\n"),
              std::string::npos)
        << page << " not in\n"
        << written;

  QStringList chosen;
  for (const QString& line :
       QString::fromLatin1(ide.read(QStringLiteral("Calc/Calc.scriv")))
           .split(QStringLiteral("\r\n")))
    if (line.startsWith(QStringLiteral("templatePath =")) ||
        line.startsWith(QStringLiteral("outputPath =")))
      chosen << line;
  EXPECT_EQ(
      chosen.join(u'\n').toStdString(),
      "outputPath = " + pages.toStdString() + "\ntemplatePath = html.scvt");
}

TEST_F(ScrivletWindowsInIde, CommentEditorRewritesTheBlockAndSaveWritesIt) {
  ASSERT_FALSE(QFile::exists(calc + QStringLiteral("/Calc.scriv")));
  const std::string filesBefore = namesIn(calc);
  const std::string fileBefore =
      ide.read(QStringLiteral("Calc/Calculator.cls"));
  CodeWindow* window = ide.frame.openCodeWindow(ide.module("Calculator"));
  QTextBlock declaration = window->document()
                               ->find(QStringLiteral("Public Function Apply("))
                               .block();
  ASSERT_TRUE(declaration.isValid());
  long line = declaration.blockNumber() + 1;
  window->module().CodePane()->SetSelection(line + 3, 5, line + 3, 5);
  const QString before = window->toPlainText();

  QString title, applied;
  whenModalNamed("editComment", [&](QWidget& editor) {
    title = editor.windowTitle();
    typeInto(child<QPlainTextEdit>(editor, "descriptionBox"),
             QStringLiteral("Applies an operation to the result."));
    child<QTabWidget>(editor, "tabs").setCurrentIndex(2);
    whenModalNamed("referenceSelectDlg", [](QWidget& reference) {
      auto& modules = child<QComboBox>(reference, "moduleCombo");
      int history = modules.findText(QStringLiteral("History"));
      modules.setCurrentIndex(history);
      emit modules.activated(history);
      auto& members = child<QListWidget>(reference, "memberList");
      members.setCurrentItem(
          members.findItems(QStringLiteral("Describe"), Qt::MatchExactly)
              .value(0));
      click(reference, "okButton");
    });
    click(editor, "seeAlsoPickButton");
    saveScreenshotOver(editor, "ide-with-comment-editor");
    click(editor, "applyButton");
    applied = window->toPlainText();
    click(editor, "okButton");
  });
  control("Code Window", "Comment Editor")->trigger();

  EXPECT_EQ(title, QStringLiteral("Apply - Scrivlet Comment Editor"));
  const QStringList block = {
      QStringLiteral("'**"),
      QStringLiteral("'Applies an operation to the result."),
      QStringLiteral(
          "'@param        operation The operation of the key pressed."),
      QStringLiteral("'@param        operand The number entered."),
      QStringLiteral("'@return       The new result."),
      QStringLiteral("'@see          IOperation.Apply "),
      QStringLiteral("'@see          History.Describe "),
      QStringLiteral("'@example      Calculator "),
  };
  // The old block, from its opening line to the declaration.
  const QString oldStart =
      QStringLiteral("'**\n' Applies an operation to the current result");
  QString expected = before;
  qsizetype start = expected.indexOf(oldStart);
  qsizetype end = expected.indexOf(QStringLiteral("Public Function Apply("));
  ASSERT_TRUE(start >= 0 && end > start);
  expected.replace(start, end - start, block.join(u'\n') + u'\n');
  EXPECT_EQ(applied.toStdString(), expected.toStdString());
  EXPECT_EQ(window->toPlainText().toStdString(), expected.toStdString());
  EXPECT_TRUE(window->isWindowModified());
  EXPECT_EQ(ide.read(QStringLiteral("Calc/Calculator.cls")), fileBefore);

  whenModalNamed("editComment", [](QWidget& editor) {
    typeInto(child<QPlainTextEdit>(editor, "descriptionBox"),
             QStringLiteral("Forgotten."));
    click(editor, "cancelButton");
  });
  control("Code Window", "Comment Editor")->trigger();
  EXPECT_EQ(window->toPlainText().toStdString(), expected.toStdString());

  ASSERT_TRUE(ide.frame.save(false));
  EXPECT_FALSE(window->isWindowModified());
  std::string fileAfter = fileBefore;
  std::size_t fileStart =
      fileAfter.find("'**\r\n' Applies an operation to the current result");
  std::size_t fileEnd = fileAfter.find("Public Function Apply(");
  ASSERT_TRUE(fileStart != std::string::npos && fileEnd != std::string::npos);
  fileAfter.replace(fileStart, fileEnd - fileStart,
                    block.join(QStringLiteral("\r\n")).toStdString() + "\r\n");
  EXPECT_EQ(ide.read(QStringLiteral("Calc/Calculator.cls")), fileAfter);
  // Apply saved the project's settings beside it; nothing else was left.
  QString settings = calc + QStringLiteral("/Calc.scriv");
  ASSERT_TRUE(QFile::remove(settings));
  EXPECT_EQ(namesIn(calc), filesBefore);
}

}  // namespace
}  // namespace scrivlet
