#include "addin/windows/qt_addin_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>

#include <memory>
#include <string>

#include "addin/connect.h"
#include "base/scripted_files_test_util.h"
#include "platform/disk_vbe.h"

namespace scrivlet {
namespace {

// The Scrivlet command opens Options over the active project; Cancel
// closes it without a compile and counts as closed.
TEST(QtAddinWindows, TheMainDialogOpensOverTheProjectAndCancelClosesIt) {
  std::string error;
  std::unique_ptr<DiskVBE> vbe = openProjectOrGroup(
      SCRIVLET_SOURCE_DIR "/examples/Calc/Calc.vbp", error);
  ASSERT_TRUE(vbe) << error;
  QtAddinWindows windows;
  ScriptedFileSystem files;
  connect addin(windows, files, "/prefs.ini", "/opt/scrivlet");
  addin.VBInstance = vbe.get();
  std::string title;
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    title = shown->windowTitle().toStdString();
    shown->findChild<QPushButton*>("cancelButton")->click();
  });
  addin.Show();
  EXPECT_EQ(title, "Options");
  EXPECT_FALSE(addin.startCompile);
  EXPECT_FALSE(addin.FormDisplayed);
}

}  // namespace
}  // namespace scrivlet
