// A progress sink that keeps every message, for tests and command-line
// tools that print them afterwards.
#ifndef SCRIVLET_COMPILER_RECORDING_SINK_H_
#define SCRIVLET_COMPILER_RECORDING_SINK_H_

#include <string>
#include <vector>

#include "base/progress.h"

namespace scrivlet {

class RecordingSink : public ProgressSink {
 public:
  void showStatus(const std::string& text) override { status = text; }
  void addMessage(const std::string& text) override {
    messages.push_back(text);
    shown.push_back(text);
  }
  // Keeps a message's own text in `messages`, and the line as a console
  // shows it, its place first, in `shown`.
  void addPlacedMessage(const std::string& line, const MessagePlace&,
                        const std::string& text) override {
    messages.push_back(text);
    shown.push_back(line);
  }
  // Every message followed by a line feed.
  std::string text() const {
    std::string out;
    for (const std::string& m : messages) out += m + "\n";
    return out;
  }

  std::string status;
  std::vector<std::string> messages;
  std::vector<std::string> shown;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_RECORDING_SINK_H_
