#include "masker/folder_masker.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "masker/tessick.h"

extern char** environ;

namespace tessick {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

class TessickFolder : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(testing::TempDir()) / "tessick-XXXXXX").string();
    ASSERT_NE(nullptr, ::mkdtemp(pattern.data()));
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  // Fills `folder` (below the test's root) with the files.
  std::string make(const std::string& folder, const Files& files) {
    fs::path dir = root_ / folder;
    fs::create_directories(dir);
    for (const auto& [name, text] : files)
      std::ofstream(dir / name, std::ios::binary) << text;
    return dir.string();
  }

  // Every entry of the folder, hidden ones too; a folder shows as "<dir>".
  static Files read(const std::string& folder) {
    Files files;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::string name = entry.path().filename().string();
      if (entry.is_directory()) {
        files[name] = "<dir>";
        continue;
      }
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      files[name] = text.str();
    }
    return files;
  }

  static int run(const std::string& commandLine, std::string* errors = nullptr) {
    std::ostringstream out;
    int code = runTessick(commandLine, out);
    if (errors)
      *errors = out.str();
    return code;
  }

  fs::path root_;
};

TEST(Listing, ExtensionMatchesWithWildcardsIgnoringCase) {
  EXPECT_TRUE(matchesExtension("Index.HTM", "htm"));
  EXPECT_TRUE(matchesExtension("a.b.htm", "htm"));
  EXPECT_TRUE(matchesExtension("toc.hhc", "h?c"));
  EXPECT_TRUE(matchesExtension("x.htm.bak.htm", "h*"));
  EXPECT_FALSE(matchesExtension("index.html", "htm"));
  EXPECT_FALSE(matchesExtension("htm", "htm"));
  EXPECT_FALSE(matchesExtension("a.hc", "h?c"));
}

const std::string page = "<h1>\xDC" "bersicht</h1>\r\n";
const std::string link = "<a href=\"\xDC" "bersicht.htm\">\xDC" "bersicht</a>\r\n";

TEST_F(TessickFolder, UmlautPageIsRenamedAndTheLinkToItFollows) {
  std::string dir = make("help", {
      {"\xDC" "bersicht.htm", page},
      {"index.htm", link},
      {"_bersicht.htm", "stale page"},
      {"toc.HHC", "\xC4\r"},
      {"empty.htm", ""},
      {"notes.txt", "\xDC"},
      {".hidden.htm", "\xDC"},
  });
  fs::create_directory(dir + "/\xC4.htm");

  EXPECT_EQ(0, run("/d " + dir + " /e htm,hhc"));
  EXPECT_EQ((Files{
                {"_bersicht.htm", "<h1>_bersicht</h1>\r\n"},
                {"index.htm", "<a href=\"_bersicht.htm\">_bersicht</a>\r\n"},
                {"toc.HHC", "_\r\n"},
                {"empty.htm", ""},
                {"notes.txt", "\xDC"},
                {".hidden.htm", "\xDC"},
                {"\xC4.htm", "<dir>"},
            }),
            read(dir));
}

// Two names that mask alike: the first renamed keeps the masked name, the
// second keeps its own and is told; a file the run did not produce is still
// replaced (a second run over the folder), letter case counting as one.
TEST_F(TessickFolder, ANameAnEarlierRenameProducedIsNeverReplaced) {
  std::string dir = make("twins", {
      {"mod\xC4nderung.htm", "A \xC4"},
      {"mod\xD6nderung.htm", "O \xD6"},
      {"mod\xDCnderUNG.htm", "U \xDC"},
      {"\xE4.htm", "new"},
      {"_.htm", "from an earlier run"},
  });
  std::string errors;
  EXPECT_EQ(0, run("/n /d " + dir + " /e htm", &errors));
  EXPECT_EQ((Files{
                {"mod_nderung.htm", "A \xC4"},
                {"mod\xD6nderung.htm", "O \xD6"},
                {"mod\xDCnderUNG.htm", "U \xDC"},
                {"_.htm", "new"},
            }),
            read(dir));
  EXPECT_EQ("Tessick: " + dir + "/mod\xD6nderung.htm keeps its name: "
            "mod_nderung.htm is the new name of mod\xC4nderung.htm\n"
            "Tessick: " + dir + "/mod\xDCnderUNG.htm keeps its name: "
            "mod_nderUNG.htm is the new name of mod\xC4nderung.htm\n",
            errors);
}

TEST_F(TessickFolder, NamesOnlyAndContentsOnly) {
  std::string names = make("names", {{"\xDC" "bersicht.htm", page}, {"index.htm", link}});
  std::string contents = make("contents", {{"\xDC" "bersicht.htm", page}, {"index.htm", link}});

  EXPECT_EQ(0, run("/e htm /n /d " + names));
  EXPECT_EQ(0, run("/d " + contents + " /e htm /c"));
  EXPECT_EQ((Files{{"_bersicht.htm", page}, {"index.htm", link}}), read(names));
  EXPECT_EQ((Files{
                {"\xDC" "bersicht.htm", "<h1>_bersicht</h1>\r\n"},
                {"index.htm", "<a href=\"_bersicht.htm\">_bersicht</a>\r\n"},
            }),
            read(contents));
}

TEST_F(TessickFolder, RewriteKeepsLoneLFAndPermissionsAndLeavesNoTemporaryFile) {
  std::string dir = make("ends", {{"a.htm", "one\r\ntwo\nthree\rfour\xE9"}, {"b.htm", "x\r"}});
  fs::permissions(dir + "/a.htm", fs::perms(0640));

  EXPECT_EQ(0, run("/e htm /d " + dir + "/"));
  EXPECT_EQ((Files{{"a.htm", "one\r\ntwo\nthree\r\nfour_"}, {"b.htm", "x\r\n"}}), read(dir));
  EXPECT_EQ(fs::perms(0640), fs::status(dir + "/a.htm").permissions());
}

// A rewrite that fails half-way (here the disk is "full": no file of the
// process may grow past 16 bytes) leaves the page as it was and no
// temporary file; root's rights do not get round this, as they would round
// a read-only folder.
TEST_F(TessickFolder, ARewriteThatFailsKeepsThePage) {
  const std::string longPage = std::string(4096, 'a') + "\xE9\r\n";
  std::string dir = make("full", {{"a.htm", longPage}});
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = saved;
  limit.rlim_cur = 16;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  rewriteContents(dir + "/a.htm");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ((Files{{"a.htm", longPage}}), read(dir));
}

TEST_F(TessickFolder, NoFolderMeansTheCurrentFolder) {
  std::string dir = make("here", {{"\xE4.htm", "\xE4"}});
  fs::path previous = fs::current_path();
  fs::current_path(dir);
  int code = run("/e htm");
  fs::current_path(previous);
  EXPECT_EQ(0, code);
  EXPECT_EQ((Files{{"_.htm", "_"}}), read(dir));
}

TEST_F(TessickFolder, ErrorsShowTheWholeCommandLineAndStopTheRun) {
  std::string dir = make("untouched", {{"\xE4.htm", "\xE4"}});
  std::string errors;

  EXPECT_EQ(1, run("/e htm /d", &errors));
  EXPECT_EQ("Tessick ERROR\nProbably too many parameters: /e htm /d\n", errors);

  std::string missing = "/d " + dir + "/none /e  htm";
  EXPECT_EQ(1, run(missing, &errors));
  EXPECT_EQ("Tessick ERROR\nProbably too many parameters: " + missing + "\n", errors);

  // A sixth argument is not a value for the fifth.
  EXPECT_EQ(1, run("/n /n /e htm /d " + dir, &errors));
  EXPECT_EQ((Files{{"\xE4.htm", "\xE4"}}), read(dir));

  EXPECT_EQ(0, run("", &errors));
  EXPECT_EQ(0, run("/d " + dir + "/none", &errors));
  EXPECT_EQ("", errors);
}

// Runs the program itself; its error output goes to `errors`.
int runProgram(const std::vector<std::string>& arguments, const std::string& errors) {
  std::vector<char*> argv;
  std::string program = TESSICK_BINARY;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  int status = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0)
    ::waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(TessickFolder, ProgramQuotesAFolderWithASpaceAndReportsTheRebuiltLine) {
  std::string dir = make("My Docs", {{"\xDC" "bersicht.htm", page}});
  make("My", {{"\xDC" "bersicht.htm", page}});
  std::string errorFile = (root_ / "errors.txt").string();

  EXPECT_EQ(0, runProgram({"/d", dir, "/e", "htm"}, errorFile));
  EXPECT_EQ((Files{{"_bersicht.htm", "<h1>_bersicht</h1>\r\n"}}), read(dir));
  EXPECT_EQ((Files{{"\xDC" "bersicht.htm", page}}), read((root_ / "My").string()));

  EXPECT_NE(0, runProgram({"/e", "htm files", "/d"}, errorFile));
  std::ifstream in(errorFile, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  EXPECT_EQ("Tessick ERROR\nProbably too many parameters: /e \"htm files\" /d\n", text.str());
}

}  // namespace
}  // namespace tessick
