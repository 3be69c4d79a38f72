#include "addin/progress.h"

#include "source/text.h"

namespace scrivlet {

void Progress::ShowProgress(const std::string& module,
                            const std::string& member) {
  if (!sink_) return;
  std::string text = "Compiling: " + module;
  if (!member.empty()) text += "." + member;
  sink_->showStatus(text);
}

void Progress::addMessage(const std::string& text) {
  messageLog += text;
  messageLog += "\r\n";
  if (sink_) sink_->addMessage(text);
}

void Progress::reportMessage(const std::string& text) {
  if (!startsWith(text, "Warning: ") || text != lastReportedMessage)
    addMessage(text);
  lastReportedMessage = text;
}

bool Progress::abortCheck() {
  if (sink_) sink_->processEvents();
  return abortRequested;
}

}  // namespace scrivlet
