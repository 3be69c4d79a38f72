#include "addin/connect.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "addin/fake_ide_test_util.h"
#include "addin/settings_file.h"
#include "base/scripted_files_test_util.h"

namespace scrivlet {
namespace {

constexpr char prefs[] = "/home/u/.config/Scrivlet/Scrivlet.ini";

// Faces are two pixels: the image number and the colour white became.
// The dialogs record that they were shown and do what a test scripts.
class ScriptedWindows : public AddinWindows {
 public:
  Picture faceImage(int image, std::uint32_t faceColor) override {
    if (failFaces) throw HostError(7, "Out of memory");
    return Picture{2, 1, {static_cast<std::uint32_t>(image), faceColor}};
  }
  MessageBox& messageBox() override { return box; }
  void showMainDialog(connect& connection) override {
    log += "main dialog\n";
    if (onMainDialog) onMainDialog(connection);
  }
  void hideMainDialog() override { log += "hide main dialog\n"; }
  void showCommentEditor(connect&) override { log += "comment editor\n"; }
  void showProgressDialog(connect& connection) override {
    log += "progress " + connection.VBInstance->ActiveVBProject()->FileName() +
           (connection.progress.lastProjectOfGroup ? " (last)" : "") + "\n";
  }
  void unloadDialogs() override { log += "unload\n"; }

  ScriptedMessageBox box;
  std::string log;
  std::function<void(connect&)> onMainDialog;
  bool failFaces = false;
};

struct Connected {
  Connected() { ide.addProject("/p/Calc.vbp"); }
  ScriptedWindows windows;
  ScriptedFileSystem files;
  FakeIde ide;
  connect addin{windows, files, prefs, "/opt/scrivlet"};
};

std::string faceOf(const CommandBarControl* control) {
  auto& face = dynamic_cast<const FakeControl*>(control)->face;
  if (!face) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%u/%06X", face->pixels[0], face->pixels[1]);
  return text;
}

TEST(Connect, AddsTheFiveCommandsAndTakesThemAllAwayAgain) {
  Connected c;
  c.ide.clipboard.setText("copied by the user");
  c.addin.OnConnection(c.ide, ext_cm_Startup);

  EXPECT_EQ(c.ide.bars.serialize(),
            "Menu Bar: \n"
            "Standard: Open|Scrivlet|Save\n"
            "Add-Ins: Scrivlet\n"
            "Code Window: Add Scrivlet Comment|Comment Editor|Copy Selection as Code\n");
  std::string looks;
  for (int command = 0; command < commandCount; ++command) {
    CommandBarControl* control = c.addin.control(command);
    looks += control->Caption() + " | " + control->TooltipText() + " | " +
             faceOf(control) + "\n";
  }
  EXPECT_EQ(looks,
            "Scrivlet |  | 101/D4D0C8\n"
            "Add Scrivlet Comment | Insert Scrivlet comment directly into source "
            "code | 102/D4D0C8\n"
            "Comment Editor | Start Comment editor for selected element | 103/D4D0C8\n"
            "Copy Selection as Code | Copy selected lines to clipboard as code "
            "example | 100/D4D0C8\n"
            "Scrivlet | Scrivlet | 101/D4D0C8\n");
  EXPECT_EQ(c.ide.clipboard.textHeld, "copied by the user");
  EXPECT_FALSE(c.ide.clipboard.hasPicture());
  EXPECT_EQ(c.ide.events.handlersSet(), 7);
  EXPECT_EQ(c.windows.box.shown, "");
  EXPECT_EQ(c.windows.log, "");  // never at start-up

  c.addin.OnDisconnection(ext_dm_UserClosed);
  EXPECT_EQ(c.ide.bars.serialize(),
            "Menu Bar: \nStandard: Open|Save\nAdd-Ins: \nCode Window: \n");
  EXPECT_EQ(c.ide.events.handlersSet(), 0);
  EXPECT_FALSE(c.ide.mainWindow.SystemColorsChanged);
  EXPECT_EQ(c.addin.MenuHandler, nullptr);
  EXPECT_EQ(c.addin.ProjectHandler, nullptr);
  EXPECT_EQ(c.windows.log, "unload\n");
  EXPECT_EQ(c.files.files[prefs], "[Settings]\nDisplayOnConnect=0\n");
}

TEST(Connect, APictureOnTheClipboardIsGoneAndAFailedFaceKeepsTheText) {
  Connected c;
  c.ide.clipboard.setPicture(Picture{1, 1, {0}});
  c.addin.OnConnection(c.ide, ext_cm_AfterStartup);
  EXPECT_FALSE(c.ide.clipboard.hasPicture());
  EXPECT_FALSE(c.ide.clipboard.hasText());
  c.addin.OnDisconnection(ext_dm_UserClosed);

  // Faces that cannot be made leave buttons without pictures, but the
  // commands work and what the user copied stays.
  Connected failing;
  failing.windows.failFaces = true;
  failing.ide.clipboard.setText("keep me");
  failing.addin.OnConnection(failing.ide, ext_cm_Startup);
  EXPECT_EQ(failing.ide.clipboard.textHeld, "keep me");
  EXPECT_EQ(faceOf(failing.addin.control(commandMain)), "none");
  EXPECT_EQ(failing.ide.events.handlersSet(), 7);
}

TEST(Connect, ACommandThatCannotBeMadeStopsTheRestWithItsOwnText) {
  Connected c;
  c.ide.bars.bars.pop_back();  // no "Code Window"
  c.addin.OnConnection(c.ide, ext_cm_Startup);
  EXPECT_EQ(c.windows.box.shown,
            "Scrivlet | Cannot create 'Add Scrivlet Comment' item in code "
            "window pop-up menu. | 0 | 0\n");
  EXPECT_EQ(c.ide.bars.serialize(),
            "Menu Bar: \nStandard: Open|Save\nAdd-Ins: Scrivlet\n");
  EXPECT_EQ(c.ide.events.handlersSet(), 1);
  c.addin.OnDisconnection(ext_dm_UserClosed);
  EXPECT_EQ(c.ide.bars.serialize(), "Menu Bar: \nStandard: Open|Save\nAdd-Ins: \n");
  EXPECT_EQ(c.ide.events.handlersSet(), 0);

  // A toolbar called otherwise is found as the second bar; one that takes
  // no button is reported.
  Connected renamed;
  renamed.ide.bars.bars[1] =
      std::make_unique<FakeCommandBar>("Standard (en)", renamed.ide.clipboard);
  renamed.ide.bars.bars[1]->controls.failAdding = true;
  renamed.addin.OnConnection(renamed.ide, ext_cm_Startup);
  EXPECT_EQ(renamed.windows.box.shown,
            "Scrivlet | Cannot create Scrivlet item in Standard toolbar. | 0 | 0\n");
  renamed.ide.bars.bars[1]->controls.failAdding = false;
  renamed.addin.OnDisconnection(ext_dm_UserClosed);
  renamed.addin.OnConnection(renamed.ide, ext_cm_Startup);
  EXPECT_EQ(renamed.ide.bars.bars[1]->controls.captions(), "Scrivlet");
  renamed.addin.OnDisconnection(ext_dm_UserClosed);
}

TEST(Connect, TheMainDialogOpensOnConnectAsItWasLeft) {
  Connected c;
  c.addin.OnConnection(c.ide, ext_cm_AfterStartup);
  EXPECT_EQ(c.windows.log, "");
  c.ide.events.click(c.addin.control(commandToolbar));
  EXPECT_TRUE(c.addin.FormDisplayed);
  c.addin.OnDisconnection(ext_dm_HostShutdown);
  EXPECT_FALSE(c.addin.FormDisplayed);
  EXPECT_EQ(c.files.files[prefs], "[Settings]\nDisplayOnConnect=1\n");

  // Loaded by the user: the dialog comes back; at start-up or from the
  // command line it does not.
  c.windows.log.clear();
  c.addin.OnConnection(c.ide, ext_cm_Startup);
  c.addin.OnDisconnection(ext_dm_HostShutdown);
  c.addin.OnConnection(c.ide, ext_cm_CommandLine);
  c.addin.OnDisconnection(ext_dm_HostShutdown);
  EXPECT_EQ(c.windows.log, "unload\nunload\n");
  c.files.files[prefs] = "[Settings]\nDisplayOnConnect=1\n";
  c.addin.OnConnection(c.ide, ext_cm_AfterStartup);
  EXPECT_EQ(c.windows.log, "unload\nunload\nmain dialog\n");
  // The dialog's own closing hides it; the preference follows.
  c.addin.Hide();
  c.addin.OnDisconnection(ext_dm_HostShutdown);
  EXPECT_EQ(c.files.files[prefs], "[Settings]\nDisplayOnConnect=0\n");
}

TEST(Connect, CopySelectionAsCode) {
  Connected c;
  std::vector<std::string> lines;
  for (int n = 1; n <= 12; ++n) lines.push_back("    x = " + std::to_string(n));
  FakeModule& module = c.ide.projects[0]->addModule(vbext_ct_StdModule, "M", lines);
  FakePane& pane = c.ide.addPane(module, "M (Code)", true);
  c.ide.activePane = &pane;
  c.addin.OnConnection(c.ide, ext_cm_Startup);
  auto copied = [&](std::array<long, 4> selection) {
    pane.selection = selection;
    c.ide.clipboard.setPicture(Picture{});
    c.ide.events.click(c.addin.control(commandCopy));
    return c.ide.clipboard.text();
  };
  EXPECT_EQ(copied({12, 7, 12, 7}), "'$CODE$\r'    x = 12\r'$END-CODE$");
  EXPECT_EQ(copied({3, 5, 4, 1}), "'$CODE$\r'x = 3$EOL$\r'\r'$END-CODE$");
  EXPECT_EQ(copied({5, 1, 6, 10}),
            "'$CODE$\r'    x = 5$EOL$\r'    x = 6\r'$END-CODE$");
  EXPECT_EQ(copied({6, 10, 5, 1}),
            "'$CODE$\r'    x = 5$EOL$\r'    x = 6\r'$END-CODE$");
  c.addin.OnDisconnection(ext_dm_UserClosed);
}

TEST(Connect, CodeWindowCommandsWithASelection) {
  Connected c;
  FakeModule& module = c.ide.projects[0]->addModule(
      vbext_ct_StdModule, "M", {"Option Explicit", "Public Sub Go()", "End Sub"}, 1);
  module.addMember("Go", vbext_mt_Method, 2);
  module.addProc("Go", vbext_pk_Proc, 2, 2, 3);
  FakePane& pane = c.ide.addPane(module, "M (Code)", true);
  c.ide.activePane = &pane;
  c.addin.OnConnection(c.ide, ext_cm_Startup);

  pane.selection = {2, 1, 2, 5};
  c.ide.events.click(c.addin.control(commandEditor));
  c.ide.events.click(c.addin.control(commandInsertComment));
  EXPECT_EQ(c.windows.box.shown,
            "Comment editor | Cannot run comment editor when source code "
            "selection is made. Please cancel your text selection. | 0 | 48\n");
  EXPECT_EQ(module.CountOfLines(), 3);
  EXPECT_EQ(c.windows.log, "");

  pane.selection = {2, 3, 2, 3};
  c.ide.events.click(c.addin.control(commandEditor));
  c.ide.events.click(c.addin.control(commandInsertComment));
  EXPECT_EQ(c.windows.log, "comment editor\n");
  EXPECT_GT(module.CountOfLines(), 3);
  EXPECT_EQ(module.Lines(2, 1).substr(0, 3), "'**");
  c.addin.OnDisconnection(ext_dm_UserClosed);
}

TEST(Connect, GroupCompileSkipsEmptyProjectsAndTidiesItsWindows) {
  Connected c;
  FakeModule& calc = c.ide.projects[0]->addModule(vbext_ct_StdModule, "A", {""});
  c.ide.addProject("/p/Empty.vbp");
  FakeModule& tools =
      c.ide.addProject("/p/Tools.vbp").addModule(vbext_ct_StdModule, "B", {""});
  c.ide.addPane(calc, "A (Code)", true);
  c.ide.addPane(tools, "B (Code)", false);
  c.ide.activeWindow = c.ide.openWindows[0];
  c.windows.onMainDialog = [](connect& addin) {
    addin.startCompile = true;
    addin.progress.compileGroup = true;
    addin.progress.groupLog = "old";
  };
  c.addin.OnConnection(c.ide, ext_cm_Startup);
  c.ide.events.click(c.addin.control(commandMain));
  EXPECT_EQ(c.windows.log,
            "main dialog\n"
            "progress /p/Calc.vbp\n"
            "progress /p/Tools.vbp\n");
  EXPECT_EQ(c.ide.windowLog, "close B (Code)\nfocus A (Code)\n");
  EXPECT_EQ(c.addin.progress.groupLog, "");
  EXPECT_FALSE(c.addin.progress.lastProjectOfGroup);

  // The last project counted is the last of the group when none is empty.
  c.ide.projects.erase(c.ide.projects.begin() + 1);
  c.windows.log.clear();
  c.ide.events.click(c.addin.control(commandMain));
  EXPECT_EQ(c.windows.log,
            "main dialog\nprogress /p/Calc.vbp\nprogress /p/Tools.vbp (last)\n");
  c.addin.OnDisconnection(ext_dm_UserClosed);
}

TEST(Connect, APaletteChangeRedrawsTheFacesWithWhiteInThem) {
  Connected c;
  int hostCalls = 0;
  c.ide.mainWindow.SystemColorsChanged = [&] { ++hostCalls; };
  c.addin.OnConnection(c.ide, ext_cm_Startup);
  c.ide.clipboard.setText("user text");

  c.ide.mainWindow.SystemColorsChanged();  // the colour stays: nothing to do
  EXPECT_EQ(faceOf(c.addin.control(commandMain)), "101/D4D0C8");
  c.ide.mainWindow.faceColor = 0x202020;
  c.ide.mainWindow.SystemColorsChanged();
  std::string faces;
  for (int command = 0; command < commandCount; ++command)
    faces += faceOf(c.addin.control(command)) + " ";
  EXPECT_EQ(faces, "101/202020 102/202020 103/D4D0C8 100/D4D0C8 101/202020 ");
  EXPECT_EQ(hostCalls, 2);
  EXPECT_EQ(c.ide.clipboard.textHeld, "user text");

  c.addin.OnDisconnection(ext_dm_UserClosed);
  c.ide.mainWindow.SystemColorsChanged();
  EXPECT_EQ(hostCalls, 3);
}

TEST(Connect, ProjectEventsBringTheActiveProjectsSettings) {
  Connected c;
  c.files.files["/p/Tools.scriv"] =
      "#Scrivlet Project Settings#\r\naddSee = 0\r\n";
  FakeProject& tools = c.ide.addProject("/p/Tools.vbp");
  c.addin.OnConnection(c.ide, ext_cm_Startup);
  EXPECT_TRUE(c.addin.settings.addSee);
  c.ide.setActiveVBProject(&tools);
  EXPECT_FALSE(c.addin.settings.addSee);
  c.addin.OnDisconnection(ext_dm_UserClosed);
}

}  // namespace
}  // namespace scrivlet
