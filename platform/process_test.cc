#include "platform/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/progress.h"
#include "base/scratch_folder_test_util.h"

namespace scrivlet {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsLikeWindowsPrograms) {
  EXPECT_EQ(splitCommandLine("hhc.exe \"C:\\my doc\\p.hhp\""),
            (Args{"hhc.exe", "C:\\my doc\\p.hhp"}));
  EXPECT_EQ(splitCommandLine("  echo \"say \\\"hi\\\"\" x\"\"y\t"),
            (Args{"echo", "say \"hi\"", "xy"}));
  EXPECT_EQ(splitCommandLine("a \"\" \"b\\\\\" c\\\\\\\"d"),
            (Args{"a", "", "b\\", "c\\\"d"}));
  EXPECT_EQ(splitCommandLine("   "), Args{});

  // Quoted arguments come back unchanged.
  const Args tricky{"plain",     "",        "two words", "tab\there",
                    "\"quoted\"", "dir\\",  "dir\\ x\\", "a\\\"b",
                    "line\none\n", "\xE4\\\\"};
  std::string line;
  for (const std::string& a : tricky) line += quoteArgument(a) + " ";
  EXPECT_EQ(splitCommandLine(line), tricky);
  EXPECT_EQ(quoteArgument("/bin/sh"), "/bin/sh");
}

class RunAndWait : public testing::Test {
 protected:
  std::string read(const std::string& name) { return scratch_.read(name); }

  ScratchFolder scratch_{"scrivlet-process"};
  const std::filesystem::path& folder_ = scratch_.folder();
  Progress progress_;
};

TEST_F(RunAndWait, ReturnsOnlyAfterTheProgramHasEnded) {
  std::string file = (folder_ / "out.txt").string();
  // The exit status does not make the start a failure.
  EXPECT_TRUE(runAndWait(
      "/bin/sh", "sh -c " + quoteArgument("echo done > '" + file + "'; exit 3"),
      progress_));
  EXPECT_EQ(read("out.txt"), "done\n");
  // An application that does not start gives way to the program named
  // first on the command line.
  EXPECT_TRUE(runAndWait("/no/such/sh",
                         "sh -c " + quoteArgument("echo found > " + file),
                         progress_));
  EXPECT_EQ(read("out.txt"), "found\n");
  EXPECT_EQ(progress_.messageLog, "");
}

TEST_F(RunAndWait, AddsVariablesToTheProgramsEnvironment) {
  std::string file = (folder_ / "out.txt").string();
  ::setenv("SCRIVLET_TEST_KEPT", "kept", 1);
  ::setenv("SCRIVLET_TEST_REPLACED", "old", 1);
  EXPECT_TRUE(runAndWait(
      "/bin/sh",
      "sh -c " + quoteArgument("echo \"$SCRIVLET_TEST_KEPT $SCRIVLET_TEST_"
                               "REPLACED ${SCRIV_X}\" > '" + file + "'"),
      progress_,
      {{"SCRIVLET_TEST_REPLACED", "new"}, {"SCRIV_X", "$(echo no)`x`"}}));
  ::unsetenv("SCRIVLET_TEST_KEPT");
  ::unsetenv("SCRIVLET_TEST_REPLACED");
  EXPECT_EQ(read("out.txt"), "kept new $(echo no)`x`\n");
}

TEST_F(RunAndWait, ReportsAProgramThatCannotStart) {
  EXPECT_FALSE(runAndWait("/no/such/sh", "/no/such/sh -c \"x y\"", progress_));
  EXPECT_EQ(progress_.messageLog,
            "ERROR: Cannot execute /no/such/sh -c \"x y\".\r\n"
            "CreateProcess failed. Error: 2\r\n");
}

}  // namespace
}  // namespace scrivlet
