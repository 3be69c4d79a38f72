// A write that fails half-way, as on a full disk, must leave the user's
// file as it was and no temporary file beside it. The disk is made "full"
// by a file-size limit on this process: the temporary file cannot grow past
// it, whatever the user's rights (tests may run as root, for whom a
// read-only folder is no obstacle).
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "addin/settings_file.h"
#include "base/file_system.h"
#include "base/file_system.h"
#include "base/message_box.h"
#include "base/scratch_folder_test_util.h"
#include "platform/disk_vbe.h"
#include "source/fake_host_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

// While it lives, no file of this process grows past `bytes`.
class DiskFull {
 public:
  explicit DiskFull(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a signal
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~DiskFull() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
};

class FileSafety : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return scratch.path(name); }
  void write(const std::string& name, const std::string& bytes) const {
    scratch.write(name, bytes);
  }
  std::string read(const std::string& name) const { return scratch.read(name); }
  std::string listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& n : names) out += n + " ";
    return out;
  }

  ScratchFolder scratch{"scrivlet-safety"};
  const fs::path& dir = scratch.folder();
  const std::string big = std::string(64 * 1024, 'n');
};

TEST_F(FileSafety, AFailedWriteKeepsTheOriginalAndLeavesNothingBehind) {
  write("a.bas", "original module");
  write("b.scriv", "original settings");
  std::string error;
  DiskFileSystem disk;
  {
    DiskFull full(1024);
    EXPECT_FALSE(writeFileAtomically(path("a.bas"), big, error));
    EXPECT_NE(disk.writeFile(path("b.scriv"), big), 0);
    // A new file, written in place, is removed again.
    EXPECT_EQ(disk.writeFile(path("new.htm"), big), fileError::diskFull);
  }
  EXPECT_EQ(read("a.bas"), "original module");
  EXPECT_EQ(read("b.scriv"), "original settings");
  EXPECT_EQ(listing(), "a.bas b.scriv ");
  EXPECT_NE(error.find("write failed"), std::string::npos) << error;

  // With room again the same writes go through.
  ASSERT_TRUE(writeFileAtomically(path("a.bas"), big, error)) << error;
  ASSERT_EQ(disk.writeFile(path("b.scriv"), big), 0);
  EXPECT_EQ(read("a.bas"), big);
  EXPECT_EQ(read("b.scriv"), big);
}

// The same through the users of the writes: saving the modules of a
// project, and saving a project's settings.
TEST_F(FileSafety, SavingModulesAndSettingsOnAFullDiskKeepsEveryFile) {
  const std::string moduleText =
      "Attribute VB_Name = \"modA\"\r\nPublic Sub Go()\r\nEnd Sub\r\n";
  const std::string projectText = "Type=Exe\r\nModule=modA; modA.bas\r\nName=\"P\"\r\n";
  write("P.vbp", projectText);
  write("modA.bas", moduleText);
  std::string error;
  auto vbe = openProjectOrGroup(path("P.vbp"), error);
  ASSERT_TRUE(vbe) << error;
  VBProject* project = vbe->ActiveVBProject();
  project->VBComponents()[0]->CodeModule()->InsertLines(1, "' " + big);
  project->setHelpFile(big);
  {
    DiskFull full(1024);
    EXPECT_EQ(vbe->saveChanged().size(), 2u);
  }
  EXPECT_EQ(read("modA.bas"), moduleText);
  EXPECT_EQ(read("P.vbp"), projectText);
  EXPECT_EQ(listing(), "P.vbp modA.bas ");
  // What failed is still to be saved.
  EXPECT_EQ(vbe->saveChanged(), std::vector<std::string>{});
  EXPECT_EQ(read("modA.bas"), "Attribute VB_Name = \"modA\"\r\n' " + big +
                                  "\r\nPublic Sub Go()\r\nEnd Sub\r\n");

  class Project : public FakeProject {
   public:
    explicit Project(std::string file) : file_(std::move(file)) {}
    std::string FileName() const override { return file_; }
    std::string file_;
  } fake(path("P.vbp"));
  FakeVBE fakeVbe(&fake);
  class GiveUp : public MessageBox {
   public:
    MessageAnswer show(const std::string&, const std::string&,
                       MessageButtons buttons, MessageIcon) override {
      ++asked;
      return cancellingAnswer(buttons);
    }
    int asked = 0;
  } box;
  DiskFileSystem disk;
  Progress progress;
  FileServices services{disk, box, progress};
  SettingsFile settingsFile(fakeVbe, services, path("addin"));
  write("P.scriv", "#Scrivlet Project Settings#\r\naddSee = 0\r\n");
  ProjectSettings settings;
  settingsFile.setDefaultSettings(settings);
  settings.titlePageText = big;
  {
    DiskFull full(1024);
    EXPECT_NE(settingsFile.saveProjectSettings(settings), 0);
  }
  EXPECT_EQ(box.asked, 1);
  EXPECT_EQ(read("P.scriv"), "#Scrivlet Project Settings#\r\naddSee = 0\r\n");
  EXPECT_EQ(listing(), "P.scriv P.vbp modA.bas ");
}

}  // namespace
}  // namespace scrivlet
