#include "cli/console.h"

#include <gtest/gtest.h>

#include <sstream>

namespace scrivlet {
namespace {

TEST(ConsoleProgress, ALiveStatusLineMakesWayForMessages) {
  std::ostringstream out;
  {
    ConsoleProgressSink sink(out, true, false, 25);
    Progress progress(&sink);
    progress.ShowProgress("Module1", "Load");
    progress.reportMessage("Warning: link \"x\" not found");
    progress.ShowProgress("A very long module name", "Member");
    progress.reportMessage("two\rlines");
  }
  EXPECT_EQ(out.str(),
            "\r\x1b[KCompiling: Module1.Load"
            "\r\x1b[KWarning: link \"x\" not found\nCompiling: Module1.Load"
            "\r\x1b[KCompiling: A very long m"
            "\r\x1b[Ktwo\nlines\nCompiling: A very long m"
            "\r\x1b[K");
}

TEST(ConsoleProgress, APipeGetsMessagesOnlyAndQuietOnlyTheSevereOnes) {
  std::ostringstream piped, quiet;
  ConsoleProgressSink pipeSink(piped, false, false);
  ConsoleProgressSink quietSink(quiet, true, true);
  for (ProgressSink* sink : {static_cast<ProgressSink*>(&pipeSink),
                             static_cast<ProgressSink*>(&quietSink)}) {
    sink->showStatus("Compiling: index...");
    sink->addMessage("Compiled 3 pages.");
    sink->addMessage("ERROR: help compiler failed");
    sink->addMessage("WARNING (config file): no section");
  }
  EXPECT_EQ(piped.str(),
            "Compiled 3 pages.\nERROR: help compiler failed\n"
            "WARNING (config file): no section\n");
  EXPECT_EQ(quiet.str(),
            "ERROR: help compiler failed\nWARNING (config file): no section\n");
}

TEST(ConsoleMessageBox, AsksOnATerminalAndAnswersNothingWhenNobodyCan) {
  std::istringstream typed("\nmaybe\nY\n");
  std::ostringstream err;
  ConsoleMessageBox terminal(typed, err, true);
  EXPECT_EQ(
      terminal.show("Error saving /w/a.htm file", "Disk is full. Continue?",
                    MessageButtons::YesNoCancel, MessageIcon::Exclamation),
      MessageAnswer::Yes);
  EXPECT_EQ(err.str(),
            "Error saving /w/a.htm file: Disk is full. Continue?\n"
            "[y]es, [n]o, [c]ancel? [y]es, [n]o, [c]ancel? "
            "[y]es, [n]o, [c]ancel? ");
  // Input that ends answers nothing: no retry without end, and no Cancel
  // that would stop a compile as if the user had asked.
  EXPECT_EQ(terminal.show("t", "x", MessageButtons::RetryCancel,
                          MessageIcon::Exclamation),
            MessageAnswer::None);

  std::istringstream unused("r\n");
  std::ostringstream log;
  ConsoleMessageBox batch(unused, log, false);
  EXPECT_EQ(
      batch.show("Error reading /w/Calc.scriv file", "Unrecognized file error.",
                 MessageButtons::RetryCancel, MessageIcon::Exclamation),
      MessageAnswer::None);
  EXPECT_EQ(
      batch.show("a", "b", MessageButtons::AbortRetryIgnore, MessageIcon::None),
      MessageAnswer::None);
  EXPECT_EQ(batch.show("Done", "Compiled.", MessageButtons::OK,
                       MessageIcon::Information),
            MessageAnswer::OK);
  EXPECT_EQ(log.str(),
            "Error reading /w/Calc.scriv file: Unrecognized file error.\n"
            "a: b\nDone: Compiled.\n");
}

}  // namespace
}  // namespace scrivlet
