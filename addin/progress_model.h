// What the progress window (ProgressDlg) shows while one compile runs and
// after: its title, the status text, the messages, which buttons work, and
// what "Cancel" and "Show Documentation" do. The compile runs on the
// user-interface thread; at every abort check the window handles pending
// events, which is how a click on "Cancel" reaches the running compile.
#ifndef SCRIVLET_ADDIN_PROGRESS_MODEL_H_
#define SCRIVLET_ADDIN_PROGRESS_MODEL_H_

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "base/message_box.h"
#include "base/progress.h"
#include "base/text_file.h"

namespace scrivlet {

inline constexpr char compilingTitle[] = "Compiling, please wait...";
inline constexpr char analysingStatus[] = "Analysing the project...";
inline constexpr char finishedTitle[] = "Compilation status:";
inline constexpr char abortedTitle[] = "Compilation aborted by user";
inline constexpr char showDocumentationErrorTitle[] =
    "Error while showing documentation";

// One compile of the active project: a fresh store, the template loaded
// into it, the project compiled through it. The progress window makes a new
// one for every compile; the last one stays for "Show Documentation".
class CompileRun {
 public:
  // Asked before the template's after-compile commands would run, with the
  // template's path: whether they may.
  using MayRunCommands = std::function<bool(const std::string&)>;

  virtual ~CompileRun() = default;
  // Loads the template (not silently) and compiles; everything is reported
  // through the add-in's Progress.
  virtual void compile(const MayRunCommands& mayRunCommands) = 0;
  // The loaded template's "scriv-help-file" section: the path of the
  // documentation's entry file.
  virtual std::string helpFile() = 0;
};

class ProgressModel : public ProgressSink {
 public:
  using NewRun = std::function<std::unique_ptr<CompileRun>()>;

  // `services.progress` is the add-in's reporting state; the model becomes
  // its sink when a compile starts. All must outlive the model.
  ProgressModel(FileServices& services, std::string addinFolder, NewRun newRun);
  ~ProgressModel() override;

  // Runs one compile from the title "Compiling, please wait..." to
  // "Compilation status:" or "Compilation aborted by user".
  void startCompile();
  // The window was activated: runs the compile, and in a group compile
  // carries the messages on in `groupLog`. True when the window is to close
  // itself (a group project that is not the last).
  bool activate();
  // "Cancel": the compile stops at its next check.
  void cancel() { services_.progress.abortRequested = true; }
  // "Show Documentation": opens the entry file of what was compiled; a
  // failure shows a message box and the window stays.
  void showDocumentation();

  const std::string& title() const { return title_; }
  const std::string& status() const { return status_; }
  // The message box: every message followed by CR LF.
  const std::string& messages() const { return messages_; }
  bool closeEnabled() const { return closeEnabled_; }
  bool showDocumentationEnabled() const { return showDocumentationEnabled_; }
  bool cancelEnabled() const { return cancelEnabled_; }
  bool animationVisible() const { return animationVisible_; }
  // The animation shown while compiling.
  std::string animationFile() const;
  // Something went wrong outside the compile's own error handling: the
  // window beeps and closes.
  bool failed() const { return failed_; }

  // The desktop's "open" action; false when it could not open the path.
  std::function<bool(const std::string&)> open;
  // Whether the user trusts the template at a path to run commands. Unset:
  // every template is trusted.
  std::function<bool(const std::string&)> isTrusted;
  // Lets the window handle pending events (a click on Cancel).
  std::function<void()> pendingEvents;
  // Tell the window what to show again: the title, status and buttons, and
  // a message added at the end of the message box.
  std::function<void()> stateChanged;
  std::function<void(const std::string&)> messageAdded;
  // The message box was filled anew (a compile starts).
  std::function<void()> messagesReplaced;

  // ProgressSink
  void showStatus(const std::string& text) override;
  void addMessage(const std::string& text) override;
  void processEvents() override;

 private:
  bool mayRunCommands(const std::string& templatePath);
  void setState(const char* title, bool compiling);
  void notify();

  FileServices& services_;
  std::string addinFolder_;
  NewRun newRun_;
  std::unique_ptr<CompileRun> run_;
  ProgressSink* previousSink_ = nullptr;

  std::string title_;
  std::string status_;
  std::string messages_;
  bool closeEnabled_ = true;
  bool showDocumentationEnabled_ = false;
  bool cancelEnabled_ = false;
  bool animationVisible_ = false;
  bool failed_ = false;
  // The answers to "run the commands of this template?", kept over the
  // projects of one group compile so that the user is asked once.
  std::map<std::string, bool> commandAnswers_;
  bool groupGoesOn_ = false;
};

}  // namespace scrivlet

#endif  // SCRIVLET_ADDIN_PROGRESS_MODEL_H_
