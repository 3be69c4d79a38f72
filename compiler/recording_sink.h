// A progress sink that keeps every message, for tests and command-line
// tools that print them afterwards.
#ifndef SCRIVLET_COMPILER_RECORDING_SINK_H_
#define SCRIVLET_COMPILER_RECORDING_SINK_H_

#include <string>
#include <vector>

#include "addin/progress.h"

namespace scrivlet {

class RecordingSink : public ProgressSink {
 public:
  void showStatus(const std::string& text) override { status = text; }
  void addMessage(const std::string& text) override {
    messages.push_back(text);
  }
  // Every message followed by a line feed.
  std::string text() const {
    std::string out;
    for (const std::string& m : messages) out += m + "\n";
    return out;
  }

  std::string status;
  std::vector<std::string> messages;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_RECORDING_SINK_H_
