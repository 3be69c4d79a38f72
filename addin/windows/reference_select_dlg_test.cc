#include "addin/windows/reference_select_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QtTest>

#include "addin/windows/screenshot_test_util.h"
#include "platform/disk_code_module.h"
#include "source/crlf_test_util.h"
#include "source/source_lines.h"

namespace scrivlet {

namespace {

struct Project {
  Project() {
    calc = DiskCodeModule::fromText(
        "Calc", vbext_ct_ClassModule,
        crlf({"Public Property Get Total() As Long", "End Property",
              "Public Property Let Total(ByVal v As Long)", "End Property",
              "Public Function Sum() As Long", "End Function"}));
    stats = DiskCodeModule::fromText("Stats", vbext_ct_ClassModule,
                                     crlf({"Public Sub Reset()", "End Sub"}));
    settings.selectedModules.add("Calc", calc.get());
    settings.selectedModules.add("Stats", stats.get());
    settings.outputPath = "/work/out";
  }
  std::unique_ptr<DiskCodeModule> calc, stats;
  ProjectSettings settings;
};

QStringList itemTexts(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
  return texts;
}

}  // namespace

TEST(ReferenceSelectDlg, MemberPageShowsAndReturnsTheLink) {
  Project p;
  ReferenceModel model(p.settings);
  model.setWrapper(elementAtLine(*p.stats, 1));  // editing Stats.Reset
  model.setSelected("Calc.Total'let");
  model.initBoth();
  ReferenceSelectDlg dialog(model);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select reference"));
  auto* choice = dialog.findChild<QWidget*>("targetChoice");
  EXPECT_TRUE(choice->isVisible());
  auto* combo = dialog.findChild<QComboBox*>("moduleCombo");
  auto* members = dialog.findChild<QListWidget*>("memberList");
  EXPECT_EQ(combo->currentText(), QStringLiteral("Calc"));
  EXPECT_EQ(itemTexts(*members),
            QStringList({" [Module itself]", "Total [PropertyLet]",
                         "Total [PropertyGet]", "Sum"}));
  EXPECT_EQ(members->currentItem()->text(),
            QStringLiteral("Total [PropertyLet]"));
  EXPECT_TRUE(dialog.findChild<QWidget*>("memberPage")->isVisible());

  // The other module, chosen in the combo, fills the list afresh.
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  EXPECT_EQ(itemTexts(*members), QStringList({" [Module itself]", "Reset"}));

  // "File" and back: one page at a time, the other disabled.
  QTest::mouseClick(dialog.findChild<QRadioButton*>("fileOption"),
                    Qt::LeftButton);
  EXPECT_TRUE(dialog.findChild<QWidget*>("filePage")->isVisible());
  EXPECT_TRUE(!dialog.findChild<QWidget*>("memberPage")->isEnabled());
  QTest::mouseClick(dialog.findChild<QRadioButton*>("projectMemberOption"),
                    Qt::LeftButton);
  EXPECT_TRUE(dialog.findChild<QWidget*>("memberPage")->isVisible());

  // A double click is OK.
  QListWidgetItem* reset = members->item(1);
  QTest::mouseClick(members->viewport(), Qt::LeftButton, {},
                    members->visualItemRect(reset).center());
  QTest::mouseDClick(members->viewport(), Qt::LeftButton, {},
                     members->visualItemRect(reset).center());
  EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
  EXPECT_EQ(QString::fromStdString(model.selected()), QStringLiteral(".Reset"));
}

TEST(ReferenceSelectDlg, FilePageAndCancel) {
  Project p;
  ReferenceModel model(p.settings);
  model.setWrapper(elementAtLine(*p.calc, 5));  // Calc.Sum
  model.initFile();
  ReferenceSelectDlg dialog(model);
  std::string asked;
  dialog.setFileChooser([&](const std::string& title, const std::string& folder,
                            const std::string& proposed,
                            const std::string& filter) {
    asked = title + "|" + folder + "|" + proposed + "|" + filter;
    return std::string("C:\\Docs\\sample.txt");
  });
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(!dialog.findChild<QWidget*>("targetChoice")->isVisible());
  EXPECT_TRUE(dialog.findChild<QWidget*>("filePage")->isVisible());
  QTest::mouseClick(dialog.findChild<QPushButton*>("browseButton"),
                    Qt::LeftButton);
  EXPECT_EQ(QString::fromStdString(asked),
            QStringLiteral("Select Example File|/work/out|Calc_Sum_example.txt|"
                           "Text (*.txt);;All files (*)"));
  auto* box = dialog.findChild<QLineEdit*>("fileNameBox");
  EXPECT_EQ(box->text(), QStringLiteral("C:\\Docs\\sample.txt"));
  saveScreenshot(dialog, "reference_select_file_page");
  dialog.findChild<QCheckBox*>("absolutePathBox")->setChecked(true);
  QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
  EXPECT_EQ(QString::fromStdString(model.selected()),
            QStringLiteral("\"C:\\Docs\\sample.txt"));

  ReferenceModel cancelled(p.settings);
  cancelled.setSelected("Calc");
  cancelled.initMember();
  ReferenceSelectDlg again(cancelled);
  again.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
  QTest::keyClick(&again, Qt::Key_Escape);
  EXPECT_EQ(again.result(), int(QDialog::Rejected));
  EXPECT_EQ(QString::fromStdString(cancelled.selected()), QString());
}

}  // namespace scrivlet
