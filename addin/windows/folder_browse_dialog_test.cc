#include "addin/windows/folder_browse_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include "addin/windows/screenshot_test_util.h"

namespace scrivlet {
namespace {

QTreeView* treeOf(FolderBrowseDialog& dialog) {
  return dialog.findChild<QTreeView*>("folderTree");
}

// Selects `path` in the tree as a click would.
void choose(FolderBrowseDialog& dialog, const QString& path) {
  QTreeView* tree = treeOf(dialog);
  auto* folders = static_cast<QFileSystemModel*>(tree->model());
  tree->setCurrentIndex(folders->index(path));
}

void click(FolderBrowseDialog& dialog, const char* button) {
  dialog.findChild<QPushButton*>(button)->click();
}

TEST(FolderBrowseDialog, SecondPromptFollowsTheSelectionAndOkReturnsIt) {
  QTemporaryDir temp;
  QDir(temp.path()).mkpath("Calc/Scriv");
  QDir(temp.path()).mkpath("Other");
  FolderBrowseDialog dialog;
  FolderBrowseModel& browse = dialog.model();
  browse.Prompt1 = "Specify the output folder";
  browse.ShowPrompt2 = true;
  browse.RootFolder = FolderBrowseModel::FolderString(0);
  browse.PreSelectedFolder = (temp.path() + "/Calc").toStdString();
  QStringList seen;
  QObject::connect(&dialog, &FolderBrowseDialog::SelectionChanged,
                   [&](const QString& folder) {
                     seen << folder;
                     browse.Prompt2 = folder.toStdString();
                   });
  auto* prompt2 = dialog.findChild<QLabel*>("prompt2");
  QStringList prompts;
  QTimer::singleShot(0, &dialog, [&] {
    prompts << prompt2->text();
    choose(dialog, temp.path() + "/Calc/Scriv");
    prompts << prompt2->text();
    saveScreenshot(dialog, "folder-browse");
    click(dialog, "okButton");
  });
  EXPECT_TRUE(dialog.Browse());
  EXPECT_EQ(prompts,
            (QStringList{temp.path() + "/Calc", temp.path() + "/Calc/Scriv"}));
  EXPECT_EQ(browse.SelectedFolder, (temp.path() + "/Calc/Scriv").toStdString());
  EXPECT_EQ(seen, prompts);
  EXPECT_EQ(treeOf(dialog)->geometry(), QRect(10, 67, 298, 184));
  EXPECT_EQ(dialog.size(), QSize(324, 331));

  // Cancel and the title bar's close button choose nothing.
  browse.ShowPrompt2 = false;
  QRect tree;
  bool prompt2Shown = true;
  QTimer::singleShot(0, &dialog, [&] {
    tree = treeOf(dialog)->geometry();
    prompt2Shown = prompt2->isVisible();
    choose(dialog, temp.path() + "/Other");
    click(dialog, "cancelButton");
  });
  EXPECT_FALSE(dialog.Browse());
  EXPECT_EQ(browse.SelectedFolder, "");
  EXPECT_EQ(tree, QRect(10, 43, 298, 208));
  EXPECT_FALSE(prompt2Shown);
  QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
  EXPECT_FALSE(dialog.Browse());
  for (const char* help : {"okButton", "cancelButton", "folderTree"}) {
    auto* control = dialog.findChild<QWidget*>(help);
    EXPECT_FALSE(control->whatsThis().isEmpty()) << help;
    EXPECT_EQ(control->contextMenuPolicy(), Qt::CustomContextMenu) << help;
  }
}

TEST(FolderBrowseDialog, OpensBesideItsOwnerAndOnTheScreen) {
  QWidget owner;
  owner.setGeometry(100, 80, 300, 200);
  owner.show();
  FolderBrowseDialog dialog;
  dialog.setOwner(&owner);
  dialog.model().RootFolder = "/";
  dialog.prepare();
  EXPECT_EQ(dialog.pos(), owner.frameGeometry().topLeft() + QPoint(73, 76));

  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  owner.move(screen.right() - 50, screen.bottom() - 50);
  dialog.prepare();
  EXPECT_TRUE(screen.contains(QRect(dialog.pos(), dialog.size())));
}

}  // namespace
}  // namespace scrivlet
