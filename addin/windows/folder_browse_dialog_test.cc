#include "addin/windows/folder_browse_dialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "screenshot.h"

namespace scrivlet {

class FolderBrowseDialogTest : public QObject {
  Q_OBJECT

  // Selects `path` in the tree as a click would.
  static void choose(FolderBrowseDialog& dialog, const QString& path) {
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("folderTree"));
    auto* folders = static_cast<QFileSystemModel*>(tree->model());
    tree->setCurrentIndex(folders->index(path));
  }
  static QPushButton* buttonOf(FolderBrowseDialog& dialog, const char* name) {
    return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  }

 private slots:
  void secondPromptFollowsTheSelectionAndOkReturnsIt() {
    QTemporaryDir temp;
    QDir(temp.path()).mkpath(QStringLiteral("Calc/Scriv"));
    QDir(temp.path()).mkpath(QStringLiteral("Other"));
    FolderBrowseDialog dialog;
    FolderBrowseModel& browse = dialog.model();
    browse.Prompt1 = "Specify the output folder";
    browse.ShowPrompt2 = true;
    browse.RootFolder = FolderBrowseModel::FolderString(0);
    browse.PreSelectedFolder = (temp.path() + "/Calc").toStdString();
    QStringList seen;
    connect(&dialog, &FolderBrowseDialog::SelectionChanged, this,
            [&](const QString& folder) {
              seen << folder;
              browse.Prompt2 = folder.toStdString();
            });
    QTimer::singleShot(0, &dialog, [&] {
      auto* prompt2 = dialog.findChild<QLabel*>(QStringLiteral("prompt2"));
      QCOMPARE(prompt2->text(), temp.path() + "/Calc");
      choose(dialog, temp.path() + "/Calc/Scriv");
      QCOMPARE(prompt2->text(), temp.path() + "/Calc/Scriv");
      saveScreenshot(dialog, QStringLiteral("folder-browse"));
      buttonOf(dialog, "okButton")->click();
    });
    QVERIFY(dialog.Browse());
    QCOMPARE(QString::fromStdString(browse.SelectedFolder),
             temp.path() + "/Calc/Scriv");
    QCOMPARE(seen,
             (QStringList{temp.path() + "/Calc", temp.path() + "/Calc/Scriv"}));
    QCOMPARE(
        dialog.findChild<QTreeView*>(QStringLiteral("folderTree"))->geometry(),
        QRect(10, 67, 298, 184));
    QCOMPARE(dialog.size(), QSize(324, 331));

    // Cancel and the title bar's close button choose nothing.
    browse.ShowPrompt2 = false;
    QTimer::singleShot(0, &dialog, [&] {
      QVERIFY(
          !dialog.findChild<QLabel*>(QStringLiteral("prompt2"))->isVisible());
      QCOMPARE(dialog.findChild<QTreeView*>(QStringLiteral("folderTree"))
                   ->geometry(),
               QRect(10, 43, 298, 208));
      choose(dialog, temp.path() + "/Other");
      buttonOf(dialog, "cancelButton")->click();
    });
    QVERIFY(!dialog.Browse());
    QCOMPARE(browse.SelectedFolder, std::string());
    QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
    QVERIFY(!dialog.Browse());
    QVERIFY(!buttonOf(dialog, "okButton")->whatsThis().isEmpty());
  }

  void opensBesideItsOwnerAndOnTheScreen() {
    QWidget owner;
    owner.setGeometry(100, 80, 300, 200);
    owner.show();
    FolderBrowseDialog dialog;
    dialog.setOwner(&owner);
    dialog.model().RootFolder = "/";
    dialog.prepare();
    QCOMPARE(dialog.pos(), owner.frameGeometry().topLeft() + QPoint(73, 76));

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    owner.move(screen.right() - 50, screen.bottom() - 50);
    dialog.prepare();
    QVERIFY(screen.contains(QRect(dialog.pos(), dialog.size())));
  }
};

QObject* newFolderBrowseDialogTest() { return new FolderBrowseDialogTest; }

}  // namespace scrivlet

#include "folder_browse_dialog_test.moc"
