#include "addin/progress_model.h"

#include <exception>
#include <utility>

#include "base/addin_folder.h"

namespace scrivlet {

ProgressModel::ProgressModel(FileServices& services, std::string addinFolder,
                             NewRun newRun)
    : services_(services),
      addinFolder_(std::move(addinFolder)),
      newRun_(std::move(newRun)) {}

ProgressModel::~ProgressModel() {
  if (services_.progress.sink() == this)
    services_.progress.setSink(previousSink_);
}

std::string ProgressModel::animationFile() const {
  return withoutTrailingSeparator(addinFolder_) + "/scrivlet.gif";
}

void ProgressModel::setState(const char* title, bool compiling) {
  title_ = title;
  closeEnabled_ = !compiling;
  showDocumentationEnabled_ = !compiling;
  cancelEnabled_ = compiling;
  animationVisible_ = compiling;
  notify();
}

void ProgressModel::notify() {
  if (stateChanged) stateChanged();
}

void ProgressModel::startCompile() {
  Progress& progress = services_.progress;
  failed_ = false;
  try {
    run_.reset();
    run_ = newRun_();
    if (progress.sink() != this) {
      previousSink_ = progress.sink();
      progress.setSink(this);
    }
    // A new group compile, or a single project, asks about untrusted
    // commands anew; the projects of one group share the answers.
    if (!progress.compileGroup || !groupGoesOn_) commandAnswers_.clear();
    groupGoesOn_ = progress.compileGroup && !progress.lastProjectOfGroup;

    status_ = analysingStatus;
    messages_ = progress.compileGroup ? progress.groupLog : std::string();
    if (messagesReplaced) messagesReplaced();
    setState(compilingTitle, true);
    progress.abortRequested = false;
    run_->compile([this](const std::string& templatePath) {
      return mayRunCommands(templatePath);
    });
    status_.clear();
    setState(progress.abortRequested ? abortedTitle : finishedTitle, false);
  } catch (const std::exception&) {
    failed_ = true;
    groupGoesOn_ = false;
    notify();
  }
}

bool ProgressModel::activate() {
  startCompile();
  Progress& progress = services_.progress;
  if (!progress.compileGroup || failed_) return failed_;
  progress.groupLog = messages_;
  return !progress.lastProjectOfGroup;
}

bool ProgressModel::mayRunCommands(const std::string& templatePath) {
  if (!isTrusted || isTrusted(templatePath)) return true;
  auto known = commandAnswers_.find(templatePath);
  if (known != commandAnswers_.end()) return known->second;
  bool run =
      services_.messages.show(
          "Scrivlet",
          "The template " + templatePath +
              " chosen by the project's settings has after-compile commands, "
              "and it is not a template you trust. Run its commands?",
          MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes;
  commandAnswers_[templatePath] = run;
  if (!run)
    services_.progress.reportMessage(
        "WARNING: The after-compile commands of the template " + templatePath +
        " were not run: you did not allow them.");
  return run;
}

void ProgressModel::showDocumentation() {
  std::string error;
  try {
    std::string path = run_ ? run_->helpFile() : std::string();
    // A missing file is what the system's open action fails on too; asking
    // first keeps the answer the same whatever opener the desktop has.
    if (path.empty() || !services_.files.fileExists(path) || !open ||
        !open(path))
      error = "Cannot show the \"" + path + "\" file";
  } catch (const std::exception& e) {
    error = e.what();
  }
  if (!error.empty())
    services_.messages.show(showDocumentationErrorTitle, error,
                            MessageButtons::OK, MessageIcon::Exclamation);
}

void ProgressModel::showStatus(const std::string& text) {
  status_ = text;
  notify();
}

void ProgressModel::addMessage(const std::string& text) {
  messages_ += text;
  messages_ += "\r\n";
  if (messageAdded) messageAdded(text);
}

void ProgressModel::processEvents() {
  if (pendingEvents) pendingEvents();
}

}  // namespace scrivlet
