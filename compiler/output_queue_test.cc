#include "compiler/output_queue.h"

#include <gtest/gtest.h>

#include "base/scripted_files_test_util.h"

namespace scrivlet {
namespace {

struct Output {
  ScriptedFileSystem files;
  ScriptedMessageBox box;
  Progress progress;
  FileServices services{files, box, progress};
};

TEST(OutputQueue, WritesInTheOrderHandedOverWithDiskLineEnds) {
  Output out;
  {
    OutputQueue queue(out.services);
    queue.write("one.htm", "a\rb", false);
    queue.write("all.htm", "start\r", false);
    for (int i = 0; i < 100; ++i)
      queue.write("all.htm", std::to_string(i) + ",", true);
    queue.write("one.htm", "replaced", false);
    queue.finish();
    EXPECT_EQ(out.files.files["one.htm"], "replaced");
    std::string expected = "start\r\n";
    for (int i = 0; i < 100; ++i) expected += std::to_string(i) + ",";
    EXPECT_EQ(out.files.files["all.htm"], expected);
  }
  EXPECT_TRUE(out.box.shown.empty());
}

TEST(OutputQueue, AFailureIsAnsweredOnTheCallersTurnAndTheRestGoesOn) {
  Output out;
  // The second file fails twice: Retry fails again, Ignore skips it. The
  // third fails once and is retried.
  out.files.failures = {0, fileError::permissionDenied,
                        fileError::permissionDenied, fileError::diskFull};
  out.box.answers = {MessageAnswer::Retry, MessageAnswer::Ignore,
                     MessageAnswer::Yes};
  OutputQueue queue(out.services);
  queue.write("a.htm", "a", false);
  queue.write("b.htm", "b", false);
  queue.write("c.htm", "c", false);
  queue.write("d.htm", "d", false);
  queue.finish();
  EXPECT_EQ(out.files.files.count("b.htm"), 0u);
  EXPECT_EQ(out.files.files["a.htm"] + out.files.files["c.htm"] +
                out.files.files["d.htm"],
            "acd");
  EXPECT_NE(out.box.shown.find("Error saving b.htm file | Permission denied"),
            std::string::npos);
  EXPECT_NE(out.box.shown.find("Error saving c.htm file | Disk is full"),
            std::string::npos);
  EXPECT_FALSE(out.progress.abortRequested);
}

TEST(OutputQueue, AbandoningDropsWhatFollowsTheFailedFile) {
  Output out;
  out.files.failures = {0, fileError::pathNotFound};
  out.box.answers = {MessageAnswer::Cancel};
  OutputQueue queue(out.services);
  queue.write("a.htm", "a", false);
  queue.write("b.htm", "b", false);
  queue.write("c.htm", "c", false);
  queue.finish();
  queue.write("d.htm", "d", false);
  queue.finish();
  EXPECT_EQ(out.files.files.size(), 1u);
  EXPECT_EQ(out.files.files["a.htm"], "a");
  EXPECT_TRUE(out.progress.abortRequested);
}

TEST(OutputQueue, HoldsBackTheCallerWhileTheQueueIsFull) {
  Output out;
  OutputQueue queue(out.services);
  std::string page(OutputQueue::kMaxQueuedBytes / 4, 'x');
  for (int i = 0; i < 20; ++i) queue.write(std::to_string(i), page, false);
  queue.finish();
  EXPECT_EQ(out.files.files.size(), 20u);
  EXPECT_EQ(out.files.files["19"], page);
}

}  // namespace
}  // namespace scrivlet
