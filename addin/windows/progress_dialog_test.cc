#include "addin/windows/progress_dialog.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "addin/windows/screenshot_test_util.h"
#include "base/message_box_test_util.h"
#include "base/scripted_files_test_util.h"

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

class ProgressDialogTest : public ::testing::Test {
 protected:
  QPushButton* button(const char* name) {
    return dialog.findChild<QPushButton*>(name);
  }
  // Close, Show Documentation, Cancel: "+" enabled, "-" not.
  QString buttons() {
    QString states;
    for (const char* name :
         {"closeButton", "showDocumentationButton", "cancelButton"})
      states += button(name)->isEnabled() ? "+" : "-";
    return states;
  }
  QString messages() {
    return dialog.findChild<QPlainTextEdit*>("messages")->toPlainText();
  }
  QString status() { return dialog.findChild<QStatusBar*>()->currentMessage(); }
  // Runs the window modally; `whenDone` runs when its compile has ended
  // with the window still open.
  void run(const std::function<void()>& whenDone) {
    QMetaObject::Connection done = QObject::connect(
        &dialog, &ProgressDialog::compileFinished, &dialog, [&] {
          if (dialog.isVisible()) whenDone();
        });
    dialog.exec();
    QObject::disconnect(done);
  }

  ScriptedFileSystem files;
  CancellingBox box;
  Progress progress;
  FileServices services{files, box, progress};
  std::string project = "Calc";
  int pages = 3;
  std::function<void(int)> duringPage;
  ProgressModel model{services, SCRIVLET_SOURCE_DIR "/addin/windows", [this] {
                        return std::make_unique<FakeRun>(progress, project,
                                                         pages, duringPage);
                      }};
  ProgressDialog dialog{model};
};

TEST_F(ProgressDialogTest, ShowsTheRunningCompileAndItsEnd) {
  QString during;
  duringPage = [&](int page) {
    if (page != 2) return;
    during = dialog.windowTitle() + " | " + status() + " | " + buttons();
    EXPECT_TRUE(dialog.findChild<QWidget*>("animation")->isVisible());
    saveScreenshot(dialog, "progress-compiling");
    // Neither the title bar nor Escape ends a running compile's window.
    dialog.close();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
  };
  QString after;
  run([&] {
    after = dialog.windowTitle() + " | " + status() + " | " + buttons();
    EXPECT_EQ(messages(), "Compiling project Calc\nCalc: 3 pages");
    EXPECT_FALSE(dialog.findChild<QWidget*>("animation")->isVisible());
    saveScreenshot(dialog, "progress-finished");
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    button("closeButton")->click();
  });
  EXPECT_EQ(during, "Compiling, please wait... | Compiling: Calc.Page2 | --+");
  EXPECT_EQ(after, "Compilation status: |  | ++-");
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ProgressDialogTest, CancelReachesTheCompileThroughTheEventLoop) {
  pages = 1000;
  int lastPage = 0;
  duringPage = [&](int page) {
    lastPage = page;
    // A click waiting in the queue, as the user's would.
    if (page == 1)
      QTimer::singleShot(0, button("cancelButton"), &QPushButton::click);
  };
  QString after;
  run([&] {
    after = dialog.windowTitle() + " | " + buttons();
    button("closeButton")->click();
  });
  EXPECT_EQ(after, "Compilation aborted by user | ++-");
  EXPECT_EQ(lastPage, 1);
}

TEST_F(ProgressDialogTest, GroupWindowsCloseThemselvesButTheLast) {
  progress.compileGroup = true;
  pages = 1;
  int stayed = 0;
  for (const char* name : {"One", "Two", "Three"}) {
    project = name;
    progress.lastProjectOfGroup = project == "Three";
    run([&] {
      ++stayed;
      EXPECT_EQ(messages(),
                "Compiling project One\nOne: 1 pages\n"
                "Compiling project Two\nTwo: 1 pages\n"
                "Compiling project Three\nThree: 1 pages");
      button("closeButton")->click();
    });
  }
  EXPECT_EQ(stayed, 1);
}

}  // namespace
}  // namespace scrivlet
