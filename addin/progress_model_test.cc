#include "addin/progress_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "base/scripted_files_test_util.h"

namespace scrivlet {
namespace {

// Answers every box with `answer` and records it.
class RecordingBox : public MessageBox {
 public:
  MessageAnswer answer = MessageAnswer::OK;
  std::string shown;
  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons, MessageIcon icon) override {
    shown += title + " | " + text + " | " +
             std::to_string(static_cast<int>(icon)) + "\n";
    return answer;
  }
};

// A compile of `pages` pages of project `name`: one status and one
// message per page, an abort check before each; then, if not aborted, the
// template's commands when it has any.
class FakeRun : public CompileRun {
 public:
  FakeRun(Progress& progress, std::string name, int pages)
      : progress_(progress), name_(std::move(name)), pages_(pages) {}
  void compile(const MayRunCommands& mayRunCommands) override {
    progress_.reportMessage("Project " + name_);
    for (int page = 1; page <= pages_; ++page) {
      if (progress_.abortCheck()) return;
      progress_.ShowProgress(name_, "Page" + std::to_string(page));
      progress_.reportMessage("Warning: page " + std::to_string(page));
    }
    if (!templatePath.empty() && mayRunCommands(templatePath))
      progress_.reportMessage("commands ran");
  }
  std::string helpFile() override { return "/doc/" + name_ + ".htm"; }

  std::string templatePath;

 private:
  Progress& progress_;
  std::string name_;
  int pages_;
};

class ProgressModelTest : public ::testing::Test {
 protected:
  ProgressModelTest() {
    model.stateChanged = [this] {
      states += model.title() + " | " + model.status() + " | " +
                (model.closeEnabled() ? "C" : "-") +
                (model.showDocumentationEnabled() ? "S" : "-") +
                (model.cancelEnabled() ? "X" : "-") +
                (model.animationVisible() ? "A" : "-") + "\n";
    };
  }
  std::unique_ptr<CompileRun> newRun() {
    auto run = std::make_unique<FakeRun>(progress, name, pages);
    run->templatePath = templatePath;
    return run;
  }

  ScriptedFileSystem files;
  RecordingBox box;
  Progress progress;
  FileServices services{files, box, progress};
  std::string name = "Calc";
  int pages = 2;
  std::string templatePath;
  ProgressModel model{services, "/addin/", [this] { return newRun(); }};
  std::string states;
};

TEST_F(ProgressModelTest, ShowsTheCompileFromStartToEnd) {
  progress.abortRequested = true;
  model.startCompile();
  EXPECT_EQ(states,
            "Compiling, please wait... | Analysing the project... | --XA\n"
            "Compiling, please wait... | Compiling: Calc.Page1 | --XA\n"
            "Compiling, please wait... | Compiling: Calc.Page2 | --XA\n"
            "Compilation status: |  | CS--\n");
  EXPECT_EQ(model.messages(),
            "Project Calc\r\nWarning: page 1\r\nWarning: page 2\r\n");
  EXPECT_EQ(model.animationFile(), "/addin/scrivlet.gif");
  EXPECT_FALSE(model.failed());
}

TEST_F(ProgressModelTest, CancelStopsTheCompileAtItsNextCheck) {
  pages = 1000;
  int checks = 0;
  model.pendingEvents = [&] {
    if (++checks == 3) model.cancel();
  };
  model.startCompile();
  EXPECT_EQ(model.title(), "Compilation aborted by user");
  EXPECT_EQ(model.messages(),
            "Project Calc\r\nWarning: page 1\r\nWarning: page 2\r\n");
  EXPECT_TRUE(model.closeEnabled());
  EXPECT_TRUE(model.showDocumentationEnabled());
  EXPECT_FALSE(model.cancelEnabled());
  EXPECT_FALSE(model.animationVisible());

  // The next compile starts afresh.
  model.pendingEvents = nullptr;
  pages = 0;
  model.startCompile();
  EXPECT_EQ(model.title(), "Compilation status:");
  EXPECT_EQ(model.messages(), "Project Calc\r\n");
}

TEST_F(ProgressModelTest, GroupWindowsCarryTheMessagesToTheLast) {
  progress.compileGroup = true;
  pages = 1;
  std::string closes;
  for (const char* project : {"One", "Two", "Three"}) {
    name = project;
    progress.lastProjectOfGroup = name == "Three";
    closes += model.activate() ? "close " : "stay ";
  }
  EXPECT_EQ(closes, "close close stay ");
  const std::string all =
      "Project One\r\nWarning: page 1\r\nProject Two\r\nWarning: page 1\r\n"
      "Project Three\r\nWarning: page 1\r\n";
  EXPECT_EQ(model.messages(), all);
  EXPECT_EQ(progress.groupLog, all);

  // A single compile starts with an empty box, whatever the log holds.
  progress.compileGroup = false;
  EXPECT_FALSE(model.activate());
  EXPECT_EQ(model.messages(), "Project Three\r\nWarning: page 1\r\n");
}

TEST_F(ProgressModelTest, AsksOncePerGroupBeforeUntrustedCommandsRun) {
  templatePath = "/project/own.scvt";
  pages = 0;
  model.isTrusted = [](const std::string& path) {
    return path != "/project/own.scvt";
  };
  box.answer = MessageAnswer::No;
  progress.compileGroup = true;
  progress.lastProjectOfGroup = false;
  model.activate();
  progress.lastProjectOfGroup = true;
  model.activate();
  EXPECT_EQ(box.shown,
            "Scrivlet | The template /project/own.scvt chosen by the "
            "project's settings has after-compile commands, and it is not a "
            "template you trust. Run its commands? | 32\n");
  EXPECT_EQ(model.messages(),
            "Project Calc\r\nWARNING: The after-compile commands of the "
            "template /project/own.scvt were not run: you did not allow "
            "them.\r\nProject Calc\r\n");

  // The next compile asks again.
  box.shown.clear();
  box.answer = MessageAnswer::Yes;
  progress.compileGroup = false;
  model.activate();
  EXPECT_EQ(model.messages(), "Project Calc\r\ncommands ran\r\n");
  EXPECT_NE(box.shown, "");

  templatePath = "/shipped/html.scvt";
  box.shown.clear();
  model.activate();
  EXPECT_EQ(box.shown, "");
  EXPECT_EQ(model.messages(), "Project Calc\r\ncommands ran\r\n");
}

TEST_F(ProgressModelTest, ShowDocumentationOpensTheEntryFileOrSaysWhyNot) {
  std::string opened;
  model.open = [&](const std::string& path) {
    opened += path + " ";
    return path != "/doc/Broken.htm";
  };
  model.startCompile();
  model.showDocumentation();  // the file was not written
  files.files["/doc/Calc.htm"] = "";
  model.showDocumentation();
  name = "Broken";
  files.files["/doc/Broken.htm"] = "";
  model.startCompile();
  model.showDocumentation();
  EXPECT_EQ(opened, "/doc/Calc.htm /doc/Broken.htm ");
  EXPECT_EQ(box.shown,
            "Error while showing documentation | Cannot show the "
            "\"/doc/Calc.htm\" file | 48\n"
            "Error while showing documentation | Cannot show the "
            "\"/doc/Broken.htm\" file | 48\n");
}

TEST_F(ProgressModelTest, AFailingStepEndsTheWindow) {
  ProgressModel failing(services, "/addin",
                        []() -> std::unique_ptr<CompileRun> {
                          throw std::runtime_error("out of memory");
                        });
  EXPECT_TRUE(failing.activate());
  EXPECT_TRUE(failing.failed());
}

}  // namespace
}  // namespace scrivlet
