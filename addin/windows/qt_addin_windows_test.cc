#include "addin/windows/qt_addin_windows.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <string>

#include "addin/connect.h"
#include "base/scripted_files_test_util.h"

namespace scrivlet {
namespace {

TEST(QtMessageBox, ShowsTheTextAndAnswersWithTheButtonChosen) {
  QtMessageBox box;
  std::string seen;
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    seen = shown->windowTitle().toStdString() + " | " +
           shown->text().toStdString() + " | " +
           std::to_string(static_cast<int>(shown->icon()));
    shown->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(box.show("Comment editor", commentEditorSelectionText,
                     MessageButtons::RetryCancel, MessageIcon::Exclamation),
            MessageAnswer::Retry);
  EXPECT_EQ(seen, std::string("Comment editor | ") + commentEditorSelectionText +
                      " | " + std::to_string(static_cast<int>(QMessageBox::Warning)));
}

TEST(QtAddinWindows, TheMainDialogIsNotThereYetAndCountsAsClosed) {
  QtAddinWindows windows;
  ScriptedFileSystem files;
  connect addin(windows, files, "/prefs.ini", "/opt/scrivlet");
  std::string seen;
  QTimer::singleShot(0, [&] {
    auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    seen = shown->text().toStdString();
    shown->button(QMessageBox::Ok)->click();
  });
  addin.Show();
  EXPECT_EQ(seen, notAvailableText);
  EXPECT_FALSE(addin.FormDisplayed);
}

}  // namespace
}  // namespace scrivlet
