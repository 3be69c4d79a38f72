#include "compiler/exec_after.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/progress.h"
#include "base/scratch_folder_test_util.h"
#include "base/text.h"
#include "platform/process.h"

namespace scrivlet {
namespace {

TEST(ExecAfterBatch, TextHoldsTheCodePageLineAndTwoLinesPerCommand) {
  EXPECT_EQ(execAfterBatchText("hhc.exe Proj.hhp", "/doc/execAfter.log", 1252),
            "@CHCP 1252 > :NUL\r"
            "@echo hhc.exe Proj.hhp >> \"/doc/execAfter.log\"\r"
            "@hhc.exe Proj.hhp>> \"/doc/execAfter.log\"\r");
  // Blanks around a command go, blank lines are skipped, tabs stay, and a
  // stray LF ends a command rather than splitting its batch line.
  EXPECT_EQ(execAfterBatchText("  tessick /doc htm 1  \r\r   \r\tls\r\nx\ny\r",
                               "L", 850),
            "@CHCP 850 > :NUL\r"
            "@echo tessick /doc htm 1 >> \"L\"\r"
            "@tessick /doc htm 1>> \"L\"\r"
            "@echo \tls >> \"L\"\r@\tls>> \"L\"\r"
            "@echo x >> \"L\"\r@x>> \"L\"\r"
            "@echo y >> \"L\"\r@y>> \"L\"\r");
  EXPECT_EQ(execAfterBatchText(" \r\r  ", "L", 1252), "@CHCP 1252 > :NUL\r");
  EXPECT_EQ(execAfterFile("/doc/", "bat"), "/doc/execAfter.bat");
  EXPECT_EQ(execAfterFile("", "log"), "execAfter.log");
}

TEST(ExecAfterBatch, ShellRunsTheSameLinesWithoutCodePageAndAt) {
  const std::string batch =
      "@CHCP 1252 > :NUL\r\n@echo a b >> \"/o$1/it's\"\r\n@sleep 3>> \"/o$1/it's\"\r\n"
      "@@x>> \"/o$1/it's\"\r\n";
  // The log's path is taken literally, and a last digit stays an argument.
  const std::string script =
      "echo \"a b\" >> '/o$1/it'\\''s'\nsleep 3 >> '/o$1/it'\\''s'\n@x >> '/o$1/it'\\''s'\n";
  EXPECT_EQ(shellScriptFromBatch(batch, "/o$1/it's"), script);
  EXPECT_EQ(shellScriptFromBatch(replaceAll(batch, "\r\n", "\r"), "/o$1/it's"), script);

  // An echo line prints its command, operators and all, and runs nothing;
  // a command line reports its status; a quiet script echoes nothing.
  const std::string commands =
      "@CHCP 1252 > :NUL\r@echo cd \"${SCRIV_X}\" && `y` $HOME >> \"L\"\r"
      "@cd \"${SCRIV_X}\" && `y` $HOME>> \"L\"\r";
  EXPECT_EQ(shellScriptFromBatch(commands, "L", {"S", true}),
            "echo \"cd \\\"${SCRIV_X}\\\" && \\`y\\` \\$HOME\" >> 'L'\n"
            "cd \"${SCRIV_X}\" && `y` $HOME >> 'L'; echo $? >> 'S'\n");
  EXPECT_EQ(shellScriptFromBatch(commands, "L", {"", false}),
            "cd \"${SCRIV_X}\" && `y` $HOME >> 'L'\n");
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return in ? s.str() : "<missing>";
}

// Writes as the add-in's writer does: CR becomes CR LF.
int writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << replaceAll(text, "\r", "\r\n");
  return out.good() ? 0 : 2;
}

// Real runs through /bin/sh in a folder of their own. The folder is given
// without a trailing separator.
class ExecAfterRun : public testing::Test {
 protected:
  void SetUp() override {
    services_.writeTextFile = writeText;
    services_.interpreter = "/bin/sh";
    services_.run = runAndWait;
  }
  std::string file(const char* name) { return (folder_ / name).string(); }
  void run(const std::string& commands) {
    runExecAfter(commands, folder_.string(), progress_, services_);
  }

  ScratchFolder scratch_{"scrivlet-exec-after"};
  const std::filesystem::path& folder_ = scratch_.folder();
  ExecAfterServices services_;
  Progress progress_;
};

TEST_F(ExecAfterRun, ReportsEveryCommandWithItsOutputAndCleansUp) {
  // Keep a copy of each file as it is deleted.
  std::map<std::string, std::string> deleted;
  services_.removeFile = [&](const std::string& path) {
    deleted[path] = readFile(path);
    return std::filesystem::remove(path);
  };
  const std::string crlf = file("crlf.txt");
  writeText(crlf, "a\rb\r");
  run("  echo hello\r\r true  \rcat \"" + crlf + "\"");
  // The log's lines, CR LF or LF, are separated by CR in the message.
  EXPECT_EQ(progress_.messageLog,
            "echo hello\rhello\rtrue\rcat \"" + crlf + "\"\ra\rb\r\n");
  const std::string log = file("execAfter.log");
  EXPECT_EQ(deleted[file("execAfter.bat")],
            "@CHCP 1252 > :NUL\r\n"
            "@echo echo hello >> \"" + log + "\"\r\n"
            "@echo hello>> \"" + log + "\"\r\n"
            "@echo true >> \"" + log + "\"\r\n"
            "@true>> \"" + log + "\"\r\n"
            "@echo cat \"" + crlf + "\" >> \"" + log + "\"\r\n"
            "@cat \"" + crlf + "\">> \"" + log + "\"\r\n");
  // A command that prints nothing still leaves its echo line, which shows
  // the command as written.
  EXPECT_EQ(deleted[log],
            "echo hello\nhello\ntrue\ncat \"" + crlf + "\"\na\r\nb\r\n");
  EXPECT_FALSE(std::filesystem::exists(file("execAfter.bat")));
  EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(ExecAfterRun, OutputOfAnEarlierRunIsNotReportedAgain) {
  writeText(file("execAfter.bat"), "@old\r");
  writeText(file("execAfter.log"), "old output\r");
  run("echo new");
  EXPECT_EQ(progress_.messageLog, "echo new\rnew\r\n");
}

// Both leave the batch file in place for the user to look at.
TEST_F(ExecAfterRun, RunsWithoutLogAreReported) {
  run("  \r\r");
  EXPECT_EQ(progress_.messageLog,
            "ERROR: Cannot create and execute batch file.\r\n");
  EXPECT_EQ(readFile(folder_ / "execAfter.bat"), "@CHCP 1252 > :NUL\r\n");

  progress_.messageLog.clear();
  services_.interpreter = "/no/such/shell";
  run("echo hi");
  const std::string log = file("execAfter.log");
  EXPECT_EQ(progress_.messageLog,
            "ERROR: Cannot execute /no/such/shell -c \"echo \\\"echo hi\\\" >> '" +
                log + "'\necho hi >> '" + log + "'; echo $? >> '" +
                file("execAfter.status") + "'\n\".\r\n"
                "CreateProcess failed. Error: 2\r\n"
                "ERROR: Cannot create and execute batch file.\r\n");
  EXPECT_TRUE(std::filesystem::exists(file("execAfter.bat")));
}

TEST_F(ExecAfterRun, BatchThatCannotBeWrittenRunsNothing) {
  bool ran = false;
  services_.run = [&](const std::string&, const std::string&, Progress&,
                      const auto&) {
    return ran = true;
  };
  services_.writeTextFile = [](const std::string&, const std::string&) {
    return 1;  // the user abandoned the file-error prompt
  };
  run("echo hi");
  EXPECT_FALSE(ran);
  EXPECT_EQ(progress_.messageLog,
            "ERROR: Cannot create and execute batch file.\r\n");
}

TEST_F(ExecAfterRun, DeleteRetriesAreCountedOverBothFiles) {
  const std::string batch = file("execAfter.bat");
  const std::string log = file("execAfter.log");
  // How often each file refuses to go (-1: always); the pause is counted,
  // not slept.
  std::map<std::string, int> refusals;
  int pauses = 0;
  auto remove = services_.removeFile;
  services_.removeFile = [&](const std::string& path) {
    int& left = refusals[path];
    if (!std::filesystem::exists(path) || left == 0) return remove(path);
    if (left > 0) --left;
    return false;
  };
  services_.pause = [&] { ++pauses; };
  auto runRefusing = [&](int batchRefusals, int logRefusals) {
    refusals = {{batch, batchRefusals}, {log, logRefusals}};
    pauses = 0;
    progress_.messageLog.clear();
    run("true");
  };
  const std::string warning = "WARNING: Cannot delete temporary batch (" +
                              batch + ") or log (" + log + ") files.\r\n";
  runRefusing(3, 7);
  EXPECT_EQ(pauses, 10);
  EXPECT_EQ(progress_.messageLog, "true\r\n");
  runRefusing(4, 7);
  EXPECT_EQ(pauses, 10);
  EXPECT_EQ(progress_.messageLog, "true\r\n" + warning);
  runRefusing(-1, 0);
  EXPECT_EQ(pauses, 10);
  EXPECT_EQ(progress_.messageLog, "true\r\n" + warning);
  EXPECT_TRUE(std::filesystem::exists(batch));
}

}  // namespace
}  // namespace scrivlet
