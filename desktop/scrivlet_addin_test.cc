// Scrivlet itself inside the host: the library built beside the tests,
// loaded through the Add-In Manager, its commands used as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPalette>
#include <QProcess>
#include <QTextBlock>
#include <QToolBar>

#include "addin/windows/qt_text.h"
#include "addin/windows/screenshot_test_util.h"
#include "desktop/scrivlet_in_host_test_util.h"

namespace scrivlet {
namespace {

// Every bar's controls: caption, tooltip when it has one.
std::string allControls(VBE& vbe) {
  std::string text;
  CommandBars& bars = *vbe.CommandBars();
  for (long b = 1; b <= bars.Count(); ++b) {
    CommandBar& bar = *bars.Item(b);
    text += bar.Name() + ":";
    for (long i = 1; i <= bar.Controls().Count(); ++i) {
      CommandBarControl& control = *bar.Controls().Item(i);
      text += " [" + control.Caption();
      if (!control.TooltipText().empty() &&
          control.TooltipText() != control.Caption())
        text += " / " + control.TooltipText();
      text += "]";
    }
    text += "\n";
  }
  return text;
}

// The five commands where the environment's users expect them, a clipboard
// text that survives the making of their faces, and nothing left after
// unloading.
TEST_F(ScrivletInIde, ConnectingAddsTheFiveCommandsAndUnloadingRemovesThem) {
  VBE& vbe = ide.frame.vbe();
  std::string before = allControls(vbe);
  QApplication::clipboard()->setText(QStringLiteral("kept text"));
  ASSERT_TRUE(ide.frame.addins().load(scrivlet(), ext_cm_Startup))
      << ide.reports.join(u'\n').toStdString();
  EXPECT_TRUE(ide.reports.isEmpty()) << ide.reports.join(u'\n').toStdString();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept text"));
  EXPECT_EQ(allControls(vbe),
            "Menu Bar: [&File] [&Edit] [&View] [&Add-Ins]\n"
            "Standard: [&Open Project...] [&Save Project] [Scrivlet] "
            "[Project E&xplorer]\n"
            "Code Window: [Cu&t] [&Copy] [&Paste] "
            "[Add Scrivlet Comment / Insert Scrivlet comment directly into source code] "
            "[Comment Editor / Start Comment editor for selected element] "
            "[Copy Selection as Code / Copy selected lines to clipboard as code example]\n"
            "Add-Ins: [&Add-In Manager...] [Scrivlet]\n");
  for (const char* bar : {"Standard", "Add-Ins"})
    EXPECT_FALSE(action(*vbe.CommandBars()->Item(bar), "Scrivlet")->icon().isNull());

  ide.frame.openCodeWindow(ide.module("modMath"));
  ide.frame.resize(1100, 720);
  saveScreenshot(ide.frame, "ide-with-scrivlet");
  QMenu& menu = ide.frame.codeWindowMenu();
  menu.popup(ide.frame.mapToGlobal(QPoint(200, 200)));
  saveScreenshot(menu, "ide-code-window-menu-with-scrivlet");
  menu.hide();

  ide.frame.addins().unload(scrivlet(), ext_dm_UserClosed);
  EXPECT_EQ(allControls(vbe), before);
  // Loading again works, as a user toggling it in the manager would.
  ASSERT_TRUE(ide.frame.addins().load(scrivlet(), ext_cm_AfterStartup));
  ide.frame.addins().unload(scrivlet(), ext_dm_UserClosed);
  EXPECT_EQ(allControls(vbe), before);
}

// The skeleton appears in the code window at once and reaches the file only
// on Save, where it is the same file the command line writes.
TEST_F(ScrivletInIde, AddScrivletCommentInsertsTheSkeletonAndSaveWritesIt) {
  ASSERT_TRUE(ide.frame.addins().load(scrivlet(), ext_cm_Startup));
  QString path = calc + QStringLiteral("/Calculator.cls");
  std::string original = ide.read(QStringLiteral("Calc/Calculator.cls"));
  CodeWindow* window = ide.frame.openCodeWindow(ide.module("Calculator"));
  QTextBlock declaration = window->document()->find(
      QStringLiteral("Friend Sub Restore")).block();
  ASSERT_TRUE(declaration.isValid());
  long line = declaration.blockNumber() + 1;
  long fileLine = window->module().fileLine(line);
  window->module().CodePane()->SetSelection(line + 1, 5, line + 1, 5);

  action(*ide.frame.vbe().CommandBars()->Item("Code Window"),
         "Add Scrivlet Comment")->trigger();
  EXPECT_TRUE(ide.reports.isEmpty()) << ide.reports.join(u'\n').toStdString();
  QStringList shown = window->toPlainText().split(u'\n');
  EXPECT_EQ(shown.mid(int(line - 1), 6).join(u'\n'),
            QStringLiteral("'**\n'\n'@param        value Required. Double.\n"
                           "'@see          \n'@rem          \n"
                           "Friend Sub Restore(ByVal value As Double)"));
  EXPECT_TRUE(window->isWindowModified());
  EXPECT_EQ(ide.read(QStringLiteral("Calc/Calculator.cls")), original);

  ASSERT_TRUE(ide.frame.save(false));
  EXPECT_FALSE(window->isWindowModified());
  // The command line on a fresh copy, as the oracle of the whole file.
  ASSERT_TRUE(QDir().rename(ide.path(QStringLiteral("Calc")),
                            ide.path(QStringLiteral("ide"))));
  ide.copyExample(QStringLiteral("Calc"));
  QProcess cli;
  cli.start(QStringLiteral(SCRIVLET_BUILD_DIR "/scrivlet"),
            {QStringLiteral("comment"), QStringLiteral("add"),
             path + QStringLiteral(":%1").arg(fileLine)});
  ASSERT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(ide.read(QStringLiteral("ide/Calculator.cls")),
            ide.read(QStringLiteral("Calc/Calculator.cls")));
}

TEST_F(ScrivletInIde, CopySelectionAsCodePutsTheBlockOnTheClipboard) {
  ASSERT_TRUE(ide.frame.addins().load(scrivlet(), ext_cm_Startup));
  IdeCodeModule& module = ide.module("modMath");
  CodeWindow* window = ide.frame.openCodeWindow(module);
  QAction* copy = action(*ide.frame.vbe().CommandBars()->Item("Code Window"),
                         "Copy Selection as Code");
  ASSERT_NE(copy, nullptr);

  // From line 3 column 5 to line 4 column 1: the rest of line 3, "$EOL$",
  // and an empty last line.
  window->setSelection(3, 5, 4, 1);
  copy->trigger();
  QString line3 = toQString(module.Lines(3, 1)).mid(4);
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("'$CODE$\n'") + line3 +
                QStringLiteral("$EOL$\n'\n'$END-CODE$"));

  // A caret alone takes its whole line.
  window->setSelection(2, 7, 2, 7);
  copy->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("'$CODE$\n'") + toQString(module.Lines(2, 1)) +
                QStringLiteral("\n'$END-CODE$"));
}

TEST_F(ScrivletInIde, PaletteChangeRedrawsTheFaces) {
  ASSERT_TRUE(ide.frame.addins().load(scrivlet(), ext_cm_Startup));
  ide.frame.show();
  QAction* menuItem = action(*ide.frame.vbe().CommandBars()->Item("Add-Ins"),
                             "Scrivlet");
  QImage before = menuItem->icon().pixmap(16, 16).toImage();
  QPalette original = QApplication::palette();
  QPalette changed = original;
  changed.setColor(QPalette::Button, QColor(0x20, 0x40, 0x60));
  QApplication::setPalette(changed);
  QApplication::processEvents();
  QImage after = menuItem->icon().pixmap(16, 16).toImage();
  QApplication::setPalette(original);
  QApplication::processEvents();
  EXPECT_NE(before, after);
  bool faceColourShown = false;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x)
      faceColourShown |= (after.pixel(x, y) & 0xFFFFFFu) == 0x204060u;
  EXPECT_TRUE(faceColourShown);
}

}  // namespace
}  // namespace scrivlet
