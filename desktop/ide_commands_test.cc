// The environment's window services as an add-in meets them: command bars,
// click and project events, the clipboard, the colour change, and loading an
// add-in library (a small one of the tests' own).
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPalette>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>

#include "addin/windows/screenshot_test_util.h"
#include "desktop/addin_manager_dialog.h"
#include "desktop/ide_test_util.h"

namespace scrivlet {
namespace {

std::string captions(CommandBar& bar) {
  std::string text;
  for (long i = 1; i <= bar.Controls().Count(); ++i)
    text += bar.Controls().Item(i)->Caption() + "|";
  return text;
}

TEST(IdeCommands, CommandBarsAreTheMenusToolbarAndPopup) {
  IdeFixture ide;
  CommandBars& bars = *ide.frame.vbe().CommandBars();
  ASSERT_EQ(bars.Count(), 4);
  EXPECT_EQ(bars.Item(2)->Name(), "Standard");
  EXPECT_EQ(bars.Item("code window"), bars.Item(3));
  EXPECT_EQ(bars.Item("Properties"), nullptr);
  EXPECT_EQ(bars.Item(5), nullptr);
  CommandBar& addins = *bars.Item("Add-Ins");
  CommandBar& standard = *bars.Item("Standard");
  EXPECT_EQ(captions(addins), "&Add-In Manager...|");
  EXPECT_EQ(captions(standard), "&Open Project...|&Save Project|Project E&xplorer|");

  // Appended, and inserted before the last control.
  CommandBarControl* item = addins.Controls().Add(msoControlButton);
  item->setCaption("Scrivlet");
  CommandBarControl* button =
      standard.Controls().Add(msoControlButton, standard.Controls().Count());
  button->setCaption("Scrivlet");
  button->setTooltipText("Scrivlet");
  EXPECT_EQ(captions(addins), "&Add-In Manager...|Scrivlet|");
  EXPECT_EQ(captions(standard),
            "&Open Project...|&Save Project|Scrivlet|Project E&xplorer|");
  EXPECT_EQ(button->TooltipText(), "Scrivlet");
  EXPECT_THROW(standard.Controls().Item(9), HostError);
  EXPECT_THROW(standard.Controls().Add(msoControlButton, 9), HostError);

  // A click reaches the handler of its own control only; the event source
  // of a control is always the same object.
  CommandBarEvents* events = ide.frame.vbe().Events()->CommandBarEvents(item);
  EXPECT_EQ(ide.frame.vbe().Events()->CommandBarEvents(item), events);
  std::vector<CommandBarControl*> clicked;
  events->Click = [&](CommandBarControl* control, bool&, bool&) {
    clicked.push_back(control);
    throw HostError(5, "the add-in's own failure stays in the add-in");
  };
  static_cast<IdeCommandBarControl*>(item)->action()->trigger();
  static_cast<IdeCommandBarControl*>(button)->action()->trigger();
  EXPECT_EQ(clicked, std::vector<CommandBarControl*>{item});

  // A face comes from the picture on the clipboard, and only from one.
  QApplication::clipboard()->clear();
  EXPECT_THROW(item->PasteFace(), HostError);
  Picture face{2, 1, {0xFFFF0000u, 0xFFFFFFFFu}};
  ide.frame.vbe().Clipboard()->setPicture(face);
  EXPECT_TRUE(ide.frame.vbe().Clipboard()->hasPicture());
  item->PasteFace();
  QImage shown = static_cast<IdeCommandBarControl*>(item)
                     ->action()->icon().pixmap(2, 1).toImage();
  EXPECT_EQ(shown.pixel(0, 0), 0xFFFF0000u);

  item->Delete();
  button->Delete();
  EXPECT_EQ(captions(addins), "&Add-In Manager...|");
  EXPECT_EQ(captions(standard), "&Open Project...|&Save Project|Project E&xplorer|");
}

TEST(IdeCommands, ClipboardTextKeepsTheAddinsLineBreaks) {
  IdeFixture ide;
  Clipboard& clipboard = *ide.frame.vbe().Clipboard();
  clipboard.setText("'$CODE$\r'x = \xE9\r'$END-CODE$");
  EXPECT_EQ(QApplication::clipboard()->text(),
            QStringLiteral("'$CODE$\n'x = \u00E9\n'$END-CODE$"));
  EXPECT_TRUE(clipboard.hasText());
  EXPECT_EQ(clipboard.text(), "'$CODE$\r'x = \xE9\r'$END-CODE$");
  clipboard.clear();
  EXPECT_FALSE(clipboard.hasText());
}

TEST(IdeCommands, ColourChangeReachesTheAddinWithTheNewButtonFace) {
  IdeFixture ide;
  ide.frame.show();
  MainWindow& main = *ide.frame.vbe().MainWindow();
  std::vector<std::uint32_t> seen;
  main.SystemColorsChanged = [&] { seen.push_back(main.buttonFaceColor()); };
  QPalette before = QApplication::palette();
  QPalette changed = before;
  changed.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
  QApplication::setPalette(changed);
  QApplication::processEvents();
  QApplication::setPalette(before);
  main.SystemColorsChanged = nullptr;
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), 0x123456u);
}

// Opening reports every project as added, then the active one; a code
// window of another project makes that project the active one, and so does
// setting the active code pane, which opens the window.
TEST(IdeCommands, ProjectEventsFollowOpeningAndTheActiveWindow) {
  IdeFixture ide;
  ide.write(QStringLiteral("A.vbp"), "Type=Exe\r\nModule=MA; MA.bas\r\nName=\"A\"\r\n");
  ide.write(QStringLiteral("MA.bas"), "Attribute VB_Name = \"MA\"\r\n' a\r\n");
  ide.write(QStringLiteral("B.vbp"), "Type=Exe\r\nModule=MB; MB.bas\r\nName=\"B\"\r\n");
  ide.write(QStringLiteral("MB.bas"), "Attribute VB_Name = \"MB\"\r\n' b\r\n");
  ide.write(QStringLiteral("G.vbg"),
            "VBGROUP 5.0\r\nProject=A.vbp\r\nStartupProject=B.vbp\r\n");
  std::vector<std::string> events;
  VBProjectsEvents& projects = *ide.frame.vbe().Events()->VBProjectsEvents();
  projects.ItemAdded = [&](VBProject* p) { events.push_back("added " + p->Name()); };
  projects.ItemActivated = [&](VBProject* p) {
    events.push_back("activated " + p->Name());
  };
  ASSERT_TRUE(ide.frame.openProject(ide.path(QStringLiteral("G.vbg"))));
  EXPECT_EQ(events, (std::vector<std::string>{"added A", "added B", "activated B"}));
  EXPECT_EQ(ide.frame.explorer().topLevelItem(0)->text(0),
            QStringLiteral("Project Group - G (G.vbg)"));

  events.clear();
  ide.frame.vbe().setActiveCodePane(ide.module("MA").CodePane());
  EXPECT_EQ(events, std::vector<std::string>{"activated A"});
  EXPECT_EQ(ide.frame.vbe().ActiveVBProject()->Name(), "A");
  ASSERT_EQ(ide.frame.vbe().Windows().size(), 1u);
  EXPECT_EQ(ide.frame.vbe().ActiveWindow()->Caption(), "A - MA (Code)");

  events.clear();
  ide.frame.openCodeWindow(ide.module("MB"));
  EXPECT_EQ(events, std::vector<std::string>{"activated B"});
  ide.frame.vbe().Windows()[0]->SetFocus();
  EXPECT_EQ(ide.frame.vbe().ActiveWindow()->Caption(), "A - MA (Code)");
  ide.frame.vbe().Windows()[0]->Close();
  QApplication::processEvents();
  EXPECT_EQ(ide.frame.vbe().Windows().size(), 1u);
  projects.ItemAdded = nullptr;
  projects.ItemActivated = nullptr;
}

// A library is loaded only by name from the add-in folder, connected with
// the mode of how it came, and reported (the host going on) when it is no
// add-in at all.
TEST(IdeCommands, AddinManagerLoadsAndUnloadsLibraries) {
  IdeFixture ide;
  ASSERT_TRUE(ide.frame.openProject(ide.copyExample(QStringLiteral("Calc")) +
                                    QStringLiteral("/Calc.vbp")));
  AddinManager& manager = ide.frame.addins();
  manager.findAddins({ide.path(QStringLiteral("nowhere")),
                      QStringLiteral(SCRIVLET_FAKE_ADDIN_DIR)});
  ASSERT_EQ(manager.addins().size(), 1u);
  Addin& addin = *manager.addins()[0];
  CommandBar& menu = *ide.frame.vbe().CommandBars()->Item("Add-Ins");

  // Never chosen: loads on start-up; the choice is kept.
  EXPECT_TRUE(manager.loadOnStartup(addin));
  manager.loadAtStartup(false);
  EXPECT_EQ(captions(menu), "&Add-In Manager...|Fake 1|");
  manager.unload(addin, ext_dm_UserClosed);
  EXPECT_EQ(captions(menu), "&Add-In Manager...|");
  manager.setLoadOnStartup(addin, false);
  manager.loadAtStartup(false);
  EXPECT_FALSE(addin.loaded());
  QSettings ini(AddinManager::settingsPath(), QSettings::IniFormat);
  EXPECT_EQ(ini.value(QStringLiteral("Scrivlet/LoadOnStartup")).toString(),
            QStringLiteral("false"));
  manager.loadAtStartup(true);
  EXPECT_EQ(captions(menu), "&Add-In Manager...|Fake 3|");

  // Its command acts on the code window with the caret.
  CodeWindow* window = ide.frame.openCodeWindow(ide.module("modMath"));
  window->module().CodePane()->SetSelection(2, 1, 2, 1);
  static_cast<IdeCommandBarControl*>(menu.Controls().Item(2))->action()->trigger();
  EXPECT_EQ(window->document()->findBlockByNumber(1).text(),
            QStringLiteral("' fake"));

  // The dialog: unloading and loading again by the user (mode 0).
  {
    AddinManagerDialog dialog(manager, &ide.frame);
    dialog.show();
    saveScreenshot(dialog, "ide-addin-manager");
    auto* loaded = dialog.findChild<QCheckBox*>(QStringLiteral("loadedCheck"));
    ASSERT_TRUE(loaded->isChecked());
    loaded->setChecked(false);
    dialog.apply();
    EXPECT_EQ(captions(menu), "&Add-In Manager...|");
    loaded->setChecked(true);
    dialog.findChild<QCheckBox*>(QStringLiteral("loadOnStartupCheck"))
        ->setChecked(true);
    dialog.apply();
    EXPECT_EQ(captions(menu), "&Add-In Manager...|Fake 0|");
    EXPECT_TRUE(manager.loadOnStartup(addin));
  }
  manager.unload(addin, ext_dm_UserClosed);

  // Something else under the add-in's name.
  ide.write(QStringLiteral("libscrivlet.so"), "not a library");
  addin.path = ide.path(QStringLiteral("libscrivlet.so"));
  EXPECT_FALSE(manager.load(addin, ext_cm_AfterStartup));
  ASSERT_EQ(ide.reports.size(), 1);
  EXPECT_TRUE(ide.reports[0].startsWith(QStringLiteral(
      "Add-In Manager: The add-in \"Scrivlet\" could not be loaded.\n\n")))
      << ide.reports[0].toStdString();
  EXPECT_FALSE(addin.loaded());
  EXPECT_EQ(captions(menu), "&Add-In Manager...|");
}

}  // namespace
}  // namespace scrivlet
