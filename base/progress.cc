#include "base/progress.h"

#include "base/text.h"

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

MessageSeverity messageSeverity(std::string_view text) {
  if (startsWith(text, "ERROR")) return MessageSeverity::error;
  if (startsWith(text, "WARNING") || startsWith(text, "Warning: "))
    return MessageSeverity::warning;
  return MessageSeverity::note;
}

void Progress::reportMessage(const std::string& text) {
  reportMessage(text, MessagePlace{});
}

void Progress::reportMessage(const std::string& text,
                             const MessagePlace& place) {
  std::string shown = text;
  if (!place.file.empty())
    shown = place.file + (place.line > 0 ? ":" + std::to_string(place.line)
                                         : std::string()) +
            ": " + text;
  if (startsWith(text, "Warning: ") && shown == lastReportedMessage) return;
  lastReportedMessage = shown;
  switch (messageSeverity(text)) {
    case MessageSeverity::error:
      ++errorCount;
      break;
    case MessageSeverity::warning:
      ++warningCount;
      break;
    case MessageSeverity::note:
      break;
  }
  if (place.file.empty()) {
    addMessage(text);
    return;
  }
  messageLog += shown;
  messageLog += "\r\n";
  if (sink_) sink_->addPlacedMessage(shown, place, text);
}

bool Progress::abortCheck() {
  if (sink_) sink_->processEvents();
  return abortRequested;
}

}  // namespace scrivlet
