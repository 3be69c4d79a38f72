#include "desktop/ide_frame.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>

#include "addin/windows/screenshot_test_util.h"
#include "desktop/ide_test_util.h"

namespace scrivlet {
namespace {

QString explorerText(const QTreeWidget& tree) {
  QString text;
  std::function<void(QTreeWidgetItem*, int)> add = [&](QTreeWidgetItem* item,
                                                       int depth) {
    text += QString(depth * 2, QLatin1Char(' ')) + item->text(0) + QLatin1Char('\n');
    for (int i = 0; i < item->childCount(); ++i) add(item->child(i), depth + 1);
  };
  for (int i = 0; i < tree.topLevelItemCount(); ++i) add(tree.topLevelItem(i), 0);
  return text;
}

TEST(IdeHost, OpensTheExampleWithItsModulesByKind) {
  IdeFixture ide;
  ASSERT_TRUE(ide.frame.openProject(ide.copyExample(QStringLiteral("Calc")) +
                                    QStringLiteral("/Calc.vbp")));
  EXPECT_EQ(explorerText(ide.frame.explorer()),
            QStringLiteral("Calc (Calc.vbp)\n"
                           "  Forms\n"
                           "    frmCalc (frmCalc.frm)\n"
                           "  Modules\n"
                           "    modMath (modMath.bas)\n"
                           "  Class Modules\n"
                           "    IOperation (IOperation.cls)\n"
                           "    AddOperation (AddOperation.cls)\n"
                           "    Calculator (Calculator.cls)\n"
                           "    History (History.cls)\n"));
  EXPECT_EQ(ide.frame.windowTitle(), QStringLiteral("Calc - Scrivlet IDE"));
  EXPECT_TRUE(ide.reports.isEmpty()) << ide.reports.join(u'\n').toStdString();

  // A double click opens the module's code window; the form's designer
  // block and attributes are not in it.
  QTreeWidgetItem* form = ide.frame.explorer().topLevelItem(0)->child(0)->child(0);
  emit ide.frame.explorer().itemActivated(form, 0);
  CodeWindow* window = ide.frame.codeWindow(ide.module("frmCalc"));
  ASSERT_NE(window, nullptr);
  IdeCodeModule& module = ide.module("frmCalc");
  EXPECT_EQ(window->toPlainText().split(u'\n').first().toStdString(),
            module.Lines(1, 1));
  EXPECT_EQ(window->document()->blockCount(), module.CountOfLines());
  EXPECT_FALSE(window->toPlainText().contains(QStringLiteral("Attribute VB_")));
  EXPECT_EQ(ide.frame.vbe().ActiveCodePane(), module.CodePane());
  EXPECT_EQ(module.CodePane()->Window(), window);
  ide.frame.resize(1100, 720);
  saveScreenshot(ide.frame, "ide-main-window");
  QMenu& menu = ide.frame.codeWindowMenu();
  menu.popup(window->mapToGlobal(QPoint(120, 120)));
  saveScreenshot(menu, "ide-code-window-menu");
  menu.hide();

  // An unreadable path leaves the open project as it was.
  EXPECT_FALSE(ide.frame.openProject(ide.path(QStringLiteral("missing.vbp"))));
  EXPECT_EQ(ide.reports.size(), 1);
  EXPECT_EQ(ide.frame.codeWindow(module), window);
}

// Typing goes into the module at once, is written only on Save, and keeps
// every byte of the file: CR LF, the hidden header, bytes above 127.
TEST(IdeHost, TypingChangesTheModuleAndSaveWritesIt) {
  IdeFixture ide;
  const std::string original =
      "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
      "Attribute VB_Name = \"Caf\xE9\"\r\n"
      "Option Explicit\r\n"
      "' Cr\xE8me br\xFBl\xE9\r\n"
      "Public Sub Go()\r\n"
      "Attribute Go.VB_Description = \"Runs\"\r\n"
      "\tx = 1\r\n"
      "End Sub\r\n";
  ide.write(QStringLiteral("P.vbp"), "Type=Exe\r\nClass=Caf\xE9; Cafe.cls\r\nName=\"P\"\r\n");
  ide.write(QStringLiteral("Cafe.cls"), original);
  ASSERT_TRUE(ide.frame.openProject(ide.path(QStringLiteral("P.vbp"))))
      << ide.reports.join(u'\n').toStdString();
  IdeCodeModule& module = ide.module("Caf\xE9");
  CodeWindow* window = ide.frame.openCodeWindow(module);
  EXPECT_EQ(window->toPlainText(),
            QStringLiteral("Option Explicit\n' Cr\u00E8me br\u00FBl\u00E9\n"
                           "Public Sub Go()\n\tx = 1\nEnd Sub"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("P - Caf\u00E9 (Code)[*]"));
  EXPECT_FALSE(window->isWindowModified());

  // Caret on line 4 after the tab: column 2, the tab being one column.
  window->SetFocus();
  module.CodePane()->SetSelection(4, 2, 4, 2);
  QTest::keyClicks(window, QStringLiteral("y = "));
  QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("\u00E9"));
  QApplication::sendEvent(window, &accented);
  QTest::keyClicks(window, QStringLiteral(": "));
  EXPECT_EQ(module.Lines(4, 1), "\ty = \xE9: x = 1");
  long sl, sc, el, ec;
  module.CodePane()->GetSelection(sl, sc, el, ec);
  EXPECT_EQ((std::vector<long>{sl, sc, el, ec}), (std::vector<long>{4, 9, 4, 9}));
  EXPECT_TRUE(window->isWindowModified());
  QTabBar* tabs = ide.frame.codeArea().findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("P - Caf\u00E9 (Code)*"));
  EXPECT_EQ(ide.read(QStringLiteral("Cafe.cls")), original);

  // A new line typed at the end of a line.
  module.CodePane()->SetSelection(5, 8, 5, 8);
  QTest::keyClick(window, Qt::Key_Return);
  QTest::keyClicks(window, QStringLiteral("' done"));
  EXPECT_EQ(module.CountOfLines(), 6);
  EXPECT_EQ(module.Lines(6, 1), "' done");

  ASSERT_TRUE(ide.frame.save(false));
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("P - Caf\u00E9 (Code)"));
  EXPECT_EQ(ide.read(QStringLiteral("Cafe.cls")),
            "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n"
            "Attribute VB_Name = \"Caf\xE9\"\r\n"
            "Option Explicit\r\n"
            "' Cr\xE8me br\xFBl\xE9\r\n"
            "Public Sub Go()\r\n"
            "Attribute Go.VB_Description = \"Runs\"\r\n"
            "\ty = \xE9: x = 1\r\n"
            "End Sub\r\n"
            "' done\r\n");
}

// The add-in's changes show in the window at once, wherever they fall, and
// the selection it reads is ordered and counted as the environment does.
TEST(IdeHost, ModuleChangesShowInTheCodeWindow) {
  IdeFixture ide;
  ide.write(QStringLiteral("P.vbp"), "Type=Exe\r\nModule=M; M.bas\r\n");
  ide.write(QStringLiteral("M.bas"), "Attribute VB_Name = \"M\"\r\na\r\nb\r\nc\r\n");
  ASSERT_TRUE(ide.frame.openProject(ide.path(QStringLiteral("P.vbp"))))
      << ide.reports.join(u'\n').toStdString();
  IdeCodeModule& module = ide.module("M");
  CodeWindow* window = ide.frame.openCodeWindow(module);
  auto shown = [&] { return window->toPlainText().toStdString(); };

  module.CodePane()->SetSelection(2, 2, 1, 1);  // backwards
  long sl, sc, el, ec;
  module.CodePane()->GetSelection(sl, sc, el, ec);
  EXPECT_EQ((std::vector<long>{sl, sc, el, ec}), (std::vector<long>{1, 1, 2, 2}));

  module.InsertLines(2, "'**\r' x");
  EXPECT_EQ(shown(), "a\n'**\n' x\nb\nc");
  module.InsertLines(6, "z");
  EXPECT_EQ(shown(), "a\n'**\n' x\nb\nc\nz");
  module.DeleteLines(5, 2);
  EXPECT_EQ(shown(), "a\n'**\n' x\nb");
  module.DeleteLines(1, 1);
  EXPECT_EQ(shown(), "'**\n' x\nb");
  module.DeleteLines(1, 3);
  EXPECT_EQ(shown(), "");
  EXPECT_EQ(module.CountOfLines(), 0);
  module.InsertLines(1, "Option Explicit");
  EXPECT_EQ(shown(), "Option Explicit");
  EXPECT_TRUE(window->isWindowModified());

  // Typing into an emptied window and the add-in's edit after it.
  window->selectAll();
  QTest::keyClicks(window, QStringLiteral("Dim q"));
  module.InsertLines(1, "' top");
  EXPECT_EQ(shown(), "' top\nDim q");
  EXPECT_EQ(module.Lines(1, 2), "' top\r\nDim q");
}

TEST(IdeHost, ClosingWithUnsavedChangesAsks) {
  IdeFixture ide;
  ide.write(QStringLiteral("P.vbp"), "Type=Exe\r\nModule=M; M.bas\r\n");
  ide.write(QStringLiteral("M.bas"), "Attribute VB_Name = \"M\"\r\na\r\n");
  ASSERT_TRUE(ide.frame.openProject(ide.path(QStringLiteral("P.vbp"))))
      << ide.reports.join(u'\n').toStdString();
  EXPECT_TRUE(ide.frame.closeProject());
  EXPECT_TRUE(ide.questions.isEmpty());

  ASSERT_TRUE(ide.frame.openProject(ide.path(QStringLiteral("P.vbp"))))
      << ide.reports.join(u'\n').toStdString();
  ide.module("M").InsertLines(1, "b");
  ide.answer = QMessageBox::Cancel;
  EXPECT_FALSE(ide.frame.closeProject());
  EXPECT_EQ(ide.questions, QStringList{
                               QStringLiteral("Save changes to the following files?\n\nM.bas")});
  EXPECT_TRUE(ide.frame.vbe().isOpen());
  ide.answer = QMessageBox::No;
  EXPECT_TRUE(ide.frame.closeProject());
  EXPECT_FALSE(ide.frame.vbe().isOpen());
  EXPECT_EQ(ide.read(QStringLiteral("M.bas")), "Attribute VB_Name = \"M\"\r\na\r\n");

  ASSERT_TRUE(ide.frame.openProject(ide.path(QStringLiteral("P.vbp"))))
      << ide.reports.join(u'\n').toStdString();
  ide.module("M").InsertLines(1, "b");
  ide.answer = QMessageBox::Yes;
  EXPECT_TRUE(ide.frame.closeProject());
  EXPECT_EQ(ide.read(QStringLiteral("M.bas")),
            "Attribute VB_Name = \"M\"\r\nb\r\na\r\n");
}

}  // namespace
}  // namespace scrivlet
