#include "addin/windows/progress_dialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "addin/message_box_test_util.h"
#include "addin/scripted_files_test_util.h"
#include "screenshot.h"

namespace scrivlet {

namespace {

// A compile of `pages` pages: an abort check, a status and a message for
// each; `duringPage` runs inside it at every page.
class FakeRun : public CompileRun {
 public:
  FakeRun(Progress& progress, std::string name, int pages,
          std::function<void(int)> duringPage)
      : progress_(progress),
        name_(std::move(name)),
        pages_(pages),
        duringPage_(std::move(duringPage)) {}
  void compile(const MayRunCommands&) override {
    progress_.reportMessage("Compiling project " + name_);
    for (int page = 1; page <= pages_; ++page) {
      if (progress_.abortCheck()) return;
      progress_.ShowProgress(name_, "Page" + std::to_string(page));
      if (duringPage_) duringPage_(page);
    }
    progress_.reportMessage(name_ + ": " + std::to_string(pages_) + " pages");
  }
  std::string helpFile() override { return "/doc/" + name_ + ".htm"; }

 private:
  Progress& progress_;
  std::string name_;
  int pages_;
  std::function<void(int)> duringPage_;
};

}  // namespace

class ProgressDialogTest : public QObject {
  Q_OBJECT

  ScriptedFileSystem files;
  CancellingBox box;
  Progress progress;
  FileServices services{files, box, progress};
  std::string project = "Calc";
  int pages = 3;
  std::function<void(int)> duringPage;
  std::unique_ptr<ProgressModel> model;
  std::unique_ptr<ProgressDialog> dialog;

  QPushButton* buttonOf(const char* name) {
    return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QString buttons() {
    QString states;
    for (const char* name :
         {"closeButton", "showDocumentationButton", "cancelButton"})
      states += buttonOf(name)->isEnabled() ? "+" : "-";
    return states;
  }
  QString messages() {
    return dialog->findChild<QPlainTextEdit*>(QStringLiteral("messages"))
        ->toPlainText();
  }
  // Runs the dialog modally; `whenDone` runs when the compile has ended
  // with the window still open.
  int runDialog(const std::function<void()>& whenDone) {
    QMetaObject::Connection done =
        connect(dialog.get(), &ProgressDialog::compileFinished, this, [&] {
          if (dialog->isVisible()) whenDone();
        });
    int result = dialog->exec();
    disconnect(done);
    return result;
  }

 private slots:
  void init() {
    progress = Progress();
    pages = 3;
    duringPage = nullptr;
    model = std::make_unique<ProgressModel>(
        services, SCRIVLET_SOURCE_DIR "/addin/windows", [this] {
          return std::make_unique<FakeRun>(progress, project, pages,
                                           duringPage);
        });
    dialog = std::make_unique<ProgressDialog>(*model);
  }
  void cleanup() {
    dialog.reset();
    model.reset();
  }

  void showsTheRunningCompileAndItsEnd() {
    duringPage = [this](int page) {
      if (page != 2) return;
      QCOMPARE(dialog->windowTitle(),
               QStringLiteral("Compiling, please wait..."));
      QCOMPARE(dialog->findChild<QStatusBar*>()->currentMessage(),
               QStringLiteral("Compiling: Calc.Page2"));
      QCOMPARE(buttons(), QStringLiteral("--+"));
      QVERIFY(dialog->findChild<QWidget*>(QStringLiteral("animation"))
                  ->isVisible());
      saveScreenshot(*dialog, QStringLiteral("progress-compiling"));
      // Neither the title bar nor Escape ends a running compile's window.
      dialog->close();
      QTest::keyClick(dialog.get(), Qt::Key_Escape);
      QVERIFY(dialog->isVisible());
    };
    runDialog([this] {
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Compilation status:"));
      QCOMPARE(buttons(), QStringLiteral("++-"));
      QCOMPARE(dialog->findChild<QStatusBar*>()->currentMessage(), QString());
      QCOMPARE(messages(),
               QStringLiteral("Compiling project Calc\nCalc: 3 pages"));
      saveScreenshot(*dialog, QStringLiteral("progress-finished"));
      dialog->close();
      QVERIFY(dialog->isVisible());
      buttonOf("closeButton")->click();
    });
    QVERIFY(!dialog->isVisible());
  }

  void cancelReachesTheCompileThroughTheEventLoop() {
    pages = 1000;
    int lastPage = 0;
    duringPage = [&](int page) {
      lastPage = page;
      // A click waiting in the queue, as the user's would.
      if (page == 1)
        QTimer::singleShot(0, buttonOf("cancelButton"), &QPushButton::click);
    };
    runDialog([this] {
      QCOMPARE(dialog->windowTitle(),
               QStringLiteral("Compilation aborted by user"));
      QCOMPARE(buttons(), QStringLiteral("++-"));
      buttonOf("closeButton")->click();
    });
    QCOMPARE(lastPage, 1);
  }

  void groupWindowsCloseThemselvesButTheLast() {
    progress.compileGroup = true;
    pages = 1;
    int stayed = 0;
    for (const char* name : {"One", "Two", "Three"}) {
      project = name;
      progress.lastProjectOfGroup = project == "Three";
      runDialog([&] {
        ++stayed;
        QCOMPARE(messages(),
                 QStringLiteral("Compiling project One\nOne: 1 pages\n"
                                "Compiling project Two\nTwo: 1 pages\n"
                                "Compiling project Three\nThree: 1 pages"));
        buttonOf("closeButton")->click();
      });
    }
    QCOMPARE(stayed, 1);
    project = "Calc";
  }
};

QObject* newProgressDialogTest() { return new ProgressDialogTest; }

}  // namespace scrivlet

#include "progress_dialog_test.moc"
