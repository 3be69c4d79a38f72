#include "base/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/scratch_folder_test_util.h"
#include "base/scripted_files_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

struct Services {
  ScriptedFileSystem files;
  ScriptedMessageBox box;
  Progress progress;
  FileServices services{files, box, progress};
};

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

TEST(TextFile, WritesEveryCrAsCrLfAndNothingAfterTheText) {
  ScratchFolder dir;
  DiskFileSystem disk;
  Services s;
  FileServices services{disk, s.box, s.progress};
  const std::string file = dir.path("page.htm");

  EXPECT_EQ(writeTextFile(services, file, "a\rb", false), 0);
  EXPECT_EQ(readBytes(file), "a\r\nb");
  // A CR LF pair handed in gets one more LF: callers pass single CRs.
  EXPECT_EQ(writeTextFile(services, file, "x\r\ny\r", false), 0);
  EXPECT_EQ(readBytes(file), "x\r\n\ny\r\n");
  EXPECT_EQ(appendTextFile(services, file, "z\rq", false), 0);
  EXPECT_EQ(readBytes(file), "x\r\n\ny\r\nz\r\nq");

  const std::string fresh = dir.path("log.txt");
  EXPECT_EQ(appendTextFile(services, fresh, "first", false), 0);
  EXPECT_EQ(readBytes(fresh), "first");
  EXPECT_EQ(s.box.shown, "");
}

TEST(TextFile, ReplacingAFileKeepsItsRightsAndLeavesNoTemporaryFile) {
  ScratchFolder dir;
  DiskFileSystem disk;
  const std::string file = dir.path("Calc.scriv");
  ASSERT_EQ(disk.writeFile(file, "old text"), 0);
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write |
                            fs::perms::group_read);
  ASSERT_EQ(disk.writeFile(file, "new"), 0);

  EXPECT_EQ(readBytes(file), "new");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read |
                                                fs::perms::owner_write |
                                                fs::perms::group_read);
  int entries = 0;
  for (auto& entry : fs::directory_iterator(dir.folder())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1);

  // A link is replaced by a plain file; the file it named is left alone, so
  // that a link planted among the pages cannot send one elsewhere.
  const std::string link = dir.path("link.scriv");
  fs::create_symlink(file, link);
  ASSERT_EQ(disk.writeFile(link, "via link"), 0);
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(readBytes(link), "via link");
  EXPECT_EQ(readBytes(file), "new");
  // A file without write permission is read-only, whoever asks.
  fs::permissions(file, fs::perms::owner_read);
  EXPECT_EQ(disk.writeFile(file, "again"), fileError::permissionDenied);
  EXPECT_EQ(readBytes(file), "new");
}

TEST(TextFile, DiskFailuresCarryTheFileRuntimeNumbers) {
  ScratchFolder dir;
  DiskFileSystem disk;
  std::string bytes;
  const std::string missingFolder = dir.path("nowhere/a.txt");
  EXPECT_EQ(disk.writeFile(missingFolder, "x"), fileError::pathNotFound);
  EXPECT_EQ(disk.appendFile(missingFolder, "x"), fileError::pathNotFound);
  EXPECT_EQ(disk.readFile(missingFolder, bytes), fileError::pathNotFound);
  EXPECT_EQ(disk.readFile(dir.path("missing.txt"), bytes), fileError::fileNotFound);
  EXPECT_EQ(disk.writeFile(dir.path(), "x"), fileError::badFileName);
  EXPECT_EQ(disk.readFile(dir.path(), bytes), fileError::badFileName);
  EXPECT_EQ(disk.writeFile("", "x"), fileError::badFileName);
  EXPECT_EQ(disk.createFolder(dir.path("a/b")), fileError::pathNotFound);
  EXPECT_EQ(disk.createFolder(dir.path("a")), 0);
  EXPECT_EQ(disk.createFolder(dir.path("a")), fileError::fileAlreadyExists);
  EXPECT_TRUE(disk.folderExists(dir.path("a")));
  EXPECT_FALSE(disk.fileExists(dir.path("a")));

  ASSERT_EQ(disk.writeFile(dir.path("one"), "1"), 0);
  ASSERT_EQ(disk.writeFile(dir.path("two"), "2"), 0);
  EXPECT_EQ(disk.moveFile(dir.path("one"), dir.path("two")),
            fileError::fileAlreadyExists);
  EXPECT_EQ(disk.moveFile(dir.path("one"), dir.path("three")), 0);
  EXPECT_EQ(disk.deleteFile(dir.path("one")), fileError::fileNotFound);
  EXPECT_EQ(disk.deleteFile(dir.path("three")), 0);

  EXPECT_EQ(fileErrorFromErrno(EACCES, "x"), fileError::permissionDenied);
  EXPECT_EQ(fileErrorFromErrno(EROFS, "x"), fileError::permissionDenied);
  EXPECT_EQ(fileErrorFromErrno(ENOSPC, "x"), fileError::diskFull);
  EXPECT_EQ(fileErrorFromErrno(EIO, "x"), fileError::deviceIOError);

  if (::geteuid() != 0) {  // root writes through any protection
    fs::permissions(dir.folder() / "two", fs::perms::owner_read);
    EXPECT_EQ(disk.writeFile(dir.path("two"), "x"), fileError::permissionDenied);
    EXPECT_EQ(readBytes(dir.path("two")), "2");
  }
}

TEST(FileErrorPrompt, RetryRepeatsTheWriteUntilItSucceeds) {
  Services s;
  s.files.failures = {fileError::permissionDenied, fileError::pathNotFound};
  s.box.answers = {MessageAnswer::Retry, MessageAnswer::Retry};
  EXPECT_EQ(writeTextFile(s.services, "/w/Calc.scriv", "a\rb", false), 0);
  EXPECT_EQ(s.files.files["/w/Calc.scriv"], "a\r\nb");
  EXPECT_EQ(s.box.shown,
            "Error saving /w/Calc.scriv file | Permission denied. The file "
            "may be read only. | 5 | 48\n"
            "Error saving /w/Calc.scriv file | That path doesn't exist. | 5 | "
            "48\n");
  EXPECT_FALSE(s.progress.abortRequested);
}

TEST(FileErrorPrompt, AnswersEndTheWriteWithTheirResultCodes) {
  {  // Cancel abandons and stops a running compile.
    Services s;
    s.files.failures = {fileError::permissionDenied};
    s.box.answers = {MessageAnswer::Cancel};
    EXPECT_EQ(appendTextFile(s.services, "/w/a.htm", "x", false), 1);
    EXPECT_TRUE(s.progress.abortRequested);
    EXPECT_EQ(s.files.files.count("/w/a.htm"), 0u);
  }
  {  // A full disk asks Yes/No/Cancel: Yes retries, No abandons.
    Services s;
    s.files.failures = {fileError::diskFull, fileError::diskFull};
    s.box.answers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_EQ(writeTextFile(s.services, "/w/a.htm", "x", false), 1);
    EXPECT_EQ(s.box.shown,
              "Error saving /w/a.htm file | Disk is full. Continue? | 3 | 48\n"
              "Error saving /w/a.htm file | Disk is full. Continue? | 3 | "
              "48\n");
    EXPECT_TRUE(s.progress.abortRequested);
  }
  {  // Silent: no prompt, result 2.
    Services s;
    s.files.failures = {fileError::permissionDenied};
    EXPECT_EQ(writeTextFile(s.services, "/w/a.htm", "x", true), 2);
    EXPECT_EQ(s.box.shown, "");
  }
  {  // Ignore skips the write; a box closed without an answer fails it.
    Services s;
    s.files.failures = {fileError::deviceIOError, fileError::deviceIOError};
    s.box.answers = {MessageAnswer::Ignore};
    EXPECT_EQ(writeTextFile(s.services, "/w/a.htm", "x", false), 0);
    EXPECT_EQ(writeTextFile(s.services, "/w/a.htm", "x", false), 2);
    EXPECT_FALSE(s.progress.abortRequested);
    EXPECT_EQ(s.files.files.count("/w/a.htm"), 0u);
  }
}

TEST(FileErrorPrompt, ChoosesTheMessageByTheErrorNumber) {
  std::string all;
  for (int number : {52, 53, 54, 55, 57, 62, 64, 68, 71, 75, 76}) {
    FileErrorPrompt prompt = fileErrorPrompt(number);
    all += std::to_string(number) + " " + prompt.message + " " +
           std::to_string(static_cast<int>(prompt.buttons)) + "\n";
  }
  EXPECT_EQ(all,
            "52 That filename is illegal. 5\n"
            "53 Unrecognized file error. 5\n"
            "54 Can't open your file for that type of access. 5\n"
            "55 This file is already open. 5\n"
            "57 Internal disk error. 5\n"
            "62 This file has a nonstandard end-of-file marker, or an attempt "
            "was made to read beyond the end-of-file marker. 5\n"
            "64 That filename is illegal. 5\n"
            "68 That device appears unavailable. 5\n"
            "71 Insert a disk in the drive and close the door. 5\n"
            "75 Unrecognized file error. 5\n"
            "76 That path doesn't exist. 5\n");

  Services s;
  s.box.answers = {MessageAnswer::OK, MessageAnswer::Abort};
  EXPECT_EQ(askFileError(s.services, "/t/chm.scvt", "reading", 53), 0);
  EXPECT_FALSE(s.progress.abortRequested);
  EXPECT_EQ(askFileError(s.services, "/t/chm.scvt", "reading", 53), 2);
  EXPECT_TRUE(s.progress.abortRequested);
  EXPECT_EQ(s.box.shown.substr(0, s.box.shown.find('\n')),
            "Error reading /t/chm.scvt file | Unrecognized file error. | 5 | "
            "48");
}

TEST(TextFile, SplitsFileLinesAtEveryKindOfLineEnd) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(fileLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(fileLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(fileLines("\n"), (Lines{""}));
  EXPECT_EQ(fileLines(""), Lines{});
  EXPECT_EQ(fileLines("\xe9t\xe9\t "), Lines{"\xe9t\xe9\t "});
}

}  // namespace
}  // namespace scrivlet
