#include "cli/settings_command.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "addin/settings_file.h"
#include "base/message_box_test_util.h"
#include "base/scratch_folder_test_util.h"
#include "base/text.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

class SettingsCommandTest : public ::testing::Test {
 protected:
  SettingsCommandTest() {
    fs::create_directories(dir / "addin/Templates");
    std::ofstream(dir / "addin/Templates/chm.scvt");
    std::ofstream(dir / "addin/Templates/html.scvt");
    project.addModule(vbext_ct_StdModule, "Module1", {});
    project.addModule(vbext_ct_VBForm, "Form1", {});
    project.addComponentWithoutCode(vbext_ct_ResFile);
  }

  int run(const std::vector<std::string>& sets) {
    out.str("");
    err.str("");
    return runSettingsCommand(vbe, services, (dir / "addin").string(), sets,
                              out, err);
  }

  ScratchFolder scratch;
  const fs::path& dir = scratch.folder();
  fs::path settingsPath = dir / "Calc.scriv";
  FakeProject project{(dir / "Calc.vbp").string()};
  FakeVBE vbe{&project};
  DiskFileSystem disk;
  CancellingBox box;
  Progress progress;
  FileServices services{disk, box, progress};
  std::ostringstream out, err;
};

TEST_F(SettingsCommandTest, SetsKeysSavesAndPrintsTheFile) {
  ASSERT_EQ(run({"addSee=0", " wordWrapLength = -72 ", "user2Name=todo",
                 "titlePageText=Calc^scrvEOL^A calculator",
                 "comModules=form1, Module1", "templatePath=html.scvt",
                 "outputPath=doc", "codePage=1251"}),
            0)
      << err.str();
  EXPECT_EQ(err.str(), "");
  const std::string saved = readBytes(settingsPath);
  // What is printed is the file, line for line.
  EXPECT_EQ(out.str(), replaceAll(saved, "\r\n", "\n") + "\n");
  const std::string d = dir.string();
  for (const std::string& line : std::vector<std::string>{
           "addSee = 0", "wordWrapLength = -72", "user2Name = todo",
           "titlePageText = Calc^scrvEOL^A calculator",
           "outputPath = doc", "templateFolder = ",
           "templatePath = html.scvt"})
    EXPECT_NE(saved.find("\r\n" + line + "\r\n"), std::string::npos) << line;
  EXPECT_TRUE(
      endsWith(saved, "\r\ncomModules = Form1\r\ncomModules = Module1"
                      "\r\ncomEnum = 1\r\ncomType = 1\r\ncodePage = 1251"));

  // A second run starts from what the first one saved.
  ASSERT_EQ(run({"addSee=1", "comModules="}), 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(readBytes(settingsPath),
            replaceAll(replaceAll(saved, "addSee = 0", "addSee = 1"),
                       "\r\ncomModules = Form1\r\ncomModules = Module1\r\n",
                       "\r\n"));
}

TEST_F(SettingsCommandTest, RefusesUnknownKeysAndBadValuesNamingTheKey) {
  const std::pair<std::string, std::string> cases[] = {
      {"AddSee=1", "AddSee: no such settings key"},
      {"addSee=yes", "addSee: expected 1 or 0"},
      {"addUser3=2", "addUser3: expected 1 or 0"},
      {"indentMode=2", "indentMode: expected a number from 0 to 1"},
      {"wordWrapLength=100000",
       "wordWrapLength: expected a whole number from -32768 to 32767"},
      {"user1Name=my tag",
       "user1Name: a tag name takes only the letters A-Z, a-z and digits"},
      {"user1Default=two\nlines", "user1Default: the value must be one line"},
      {"comModules=Module1,Resources",
       "comModules: the project has no code module \"Resources\""},
      {"templatePath=../x.scvt",
       "templatePath: expected the file name of a template in templateFolder"},
      {"templatePath=gone.scvt", "templatePath: there is no template " +
                                     dir.string() +
                                     "/addin/Templates/gone.scvt"},
      {"codePage=0", "codePage: expected a code page number from 1 to 65535"},
      {"codePage=utf-8",
       "codePage: expected a code page number from 1 to 65535"},
      {"addSee", "--set takes KEY=VALUE, not \"addSee\""},
  };
  for (const auto& [set, reason] : cases) {
    EXPECT_EQ(run({"addParam=0", set}), 2) << set;
    EXPECT_EQ(err.str(), "scrivlet settings: " + reason + "\n");
  }
  EXPECT_FALSE(fs::exists(settingsPath));
}

TEST_F(SettingsCommandTest, LeavesAFileItCannotReadAlone) {
  std::ofstream(settingsPath, std::ios::binary)
      << "#Scrivlet Project Settings#\r\naddSee = 0\r\nmystery = 1";
  EXPECT_EQ(run({"addParam=0"}), 1);
  EXPECT_EQ(err.str(), "scrivlet settings: " + settingsPath.string() +
                           " cannot be read as a settings file; it is left "
                           "unchanged\n");
  EXPECT_EQ(run({}), 0);
  EXPECT_EQ(err.str(), "scrivlet settings: " + settingsPath.string() +
                           " cannot be read as a settings file; these are "
                           "the defaults\n");
  EXPECT_NE(out.str().find("\naddSee = 1\n"), std::string::npos);
  EXPECT_EQ(readBytes(settingsPath),
            "#Scrivlet Project Settings#\r\naddSee = 0\r\nmystery = 1");
}

// The program itself, on a copy of the example project.
TEST(SettingsProgram, ChangesAndShowsTheSettingsOfAProjectOnDisk) {
  const fs::path example = fs::path(SCRIVLET_SOURCE_DIR) / "examples/Calc";
  if (!fs::exists(example / "Calc.vbp")) GTEST_SKIP() << "no example project";
  ScratchFolder scratch;
  const fs::path& dir = scratch.folder();
  fs::copy(example, dir);
  const std::string program =
      std::string(SCRIVLET_BINARY) + " settings " + (dir / "Calc.vbp").string();
  const std::string shown = (dir / "shown.txt").string();

  int status = std::system((program + " --set addSee=0 --set comModules=" +
                            "modMath,History > " + shown + " 2>&1")
                               .c_str());
  EXPECT_EQ(WEXITSTATUS(status), 0) << readBytes(shown);
  const std::string saved = readBytes(dir / "Calc.scriv");
  EXPECT_EQ(readBytes(shown), replaceAll(saved, "\r\n", "\n") + "\n");
  EXPECT_NE(saved.find("\r\naddSee = 0\r\n"), std::string::npos);
  EXPECT_TRUE(endsWith(saved,
                       "\r\ncomModules = modMath\r\n"
                       "comModules = History\r\ncomEnum = 1\r\ncomType = 1"
                       "\r\ncodePage = 1252"));

  status =
      std::system((program + " --set addsee=1 > " + shown + " 2>&1").c_str());
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_EQ(readBytes(shown),
            "scrivlet settings: addsee: no such settings key\n");
  EXPECT_EQ(readBytes(dir / "Calc.scriv"), saved);
}

}  // namespace
}  // namespace scrivlet
