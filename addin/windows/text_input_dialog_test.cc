#include "addin/windows/text_input_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "addin/windows/screenshot_test_util.h"

namespace scrivlet {
namespace {

TEST(TextInputDialog, OkReturnsTheTextAndCancelKeepsTheCallers) {
  TextInputDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Enter default value of the tag");
  auto* box = dialog.findChild<QLineEdit*>("userText");
  auto* ok = dialog.findChild<QPushButton*>("okButton");
  auto* cancel = dialog.findChild<QPushButton*>("cancelButton");

  dialog.userText = "See the manual";
  dialog.load();
  dialog.show();
  EXPECT_EQ(box->text(), "See the manual");
  saveScreenshot(dialog, "text-input");
  box->setText("changed");
  cancel->click();
  EXPECT_EQ(dialog.userText, "See the manual");
  EXPECT_FALSE(dialog.isVisible());

  dialog.load();
  dialog.show();
  box->clear();
  ok->click();
  EXPECT_EQ(dialog.userText, "");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace scrivlet
