// Projects that someone else wrote, opened as users open them: cloned from
// anywhere and compiled, in CI too. Nothing a project holds may run a
// command or change a file outside its output folder and its own modules;
// and the user's own files are never replaced against their protection.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/text.h"
#include "cli/program_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::readFile;
using testing::runScrivlet;

const std::string kModule =
    "Attribute VB_Name = \"modA\"\r\n"
    "Option Explicit\r\n"
    "'**\r\n"
    "' Adds one.\r\n"
    "Public Function Add(ByVal a As Long) As Long\r\n"
    "End Function\r\n";

void write(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string shellWord(const std::string& path) { return "'" + path + "'"; }

// A project "Calc" in `folder` with modA.bas and `more` component lines.
std::string makeProject(const ScratchFolder& folder,
                        const std::string& more = "",
                        const std::string& name = "Calc") {
  write(folder.path("modA.bas"), kModule);
  std::string vbp = folder.path("Calc.vbp");
  write(vbp, "Type=Exe\r\nModule=modA; modA.bas\r\n" + more + "Name=\"" +
                 name + "\"\r\n");
  return vbp;
}

// Settings saved as `scrivlet settings --set` saves them.
void set(const std::string& vbp, const std::string& assignments) {
  ProgramRun run = runScrivlet("settings " + shellWord(vbp) + " " + assignments);
  ASSERT_EQ(run.status, 0) << run.err;
}

// While it lives, the program's user configuration is a scratch folder.
class UserConfig {
 public:
  UserConfig() { ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1); }
  ~UserConfig() { ::unsetenv("XDG_CONFIG_HOME"); }
  ScratchFolder folder;
};

TEST(HostileProject, ProjectValuesNeverReachTheShellAsCode) {
  ScratchFolder dir;
  // A name that is no identifier: the project is refused.
  std::string vbp = makeProject(dir, "", "Calc`touch PWNED`");
  ProgramRun refused = runScrivlet("compile " + shellWord(vbp));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Project name \"Calc`touch PWNED`\" in \"" + vbp +
                             "\" is not a valid Visual Basic name"),
            std::string::npos)
      << refused.err;

  // An output folder whose name the shell would run, through the shipped
  // HTML template's "echo ... \"$OUTPUT-PATH$\"".
  makeProject(dir);
  set(vbp, "--set templatePath=html.scvt "
           "--set 'outputPath=doc$(echo PWNED)`echo PWNED`\"'");
  ProgramRun run = runScrivlet("compile " + shellWord(vbp));
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  const std::string folder = dir.path("doc$(echo PWNED)`echo PWNED`\"");
  EXPECT_TRUE(fs::exists(folder + "/Calc.htm"));
  EXPECT_NE(run.out.find("Documentation written to " + folder + "\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("docPWNED"), std::string::npos) << run.out;
  EXPECT_FALSE(fs::exists(dir.path("PWNED")));
}

TEST(HostileProject, ATemplateTheProjectChoosesRunsCommandsOnlyOnceTrusted) {
  UserConfig config;
  ScratchFolder dir;
  std::string vbp = makeProject(dir);
  const std::string tpl = dir.path("tpl/own.scvt");
  write(tpl,
        "$PROJECT-EXT$ .txt\n$CONTENTS-EXT$ .toc\n$INDEX-EXT$ .idx\n"
        "$MEMBER-EXT$ .txt\n"
        "$scriv-project-body$\nproject\n$end-scriv-project-body$\n"
        "$scriv-exec-after$\ntouch \"$OUTPUT-PATH$/ran\"\n"
        "$end-scriv-exec-after$\n");
  set(vbp, "--set templateFolder=" + shellWord(dir.path("tpl")) +
               " --set templatePath=own.scvt --set outputPath=" +
               shellWord(dir.path("out")));
  const std::string ran = dir.path("out/ran");
  auto compileInOut = [&](const std::string& options) {
    return runScrivlet("compile --quiet " + options + " " + shellWord(vbp));
  };

  ProgramRun untrusted = compileInOut("");
  EXPECT_EQ(untrusted.status, 0) << untrusted.err;
  EXPECT_TRUE(fs::exists(dir.path("out/Calc.txt")));
  EXPECT_FALSE(fs::exists(ran));
  EXPECT_NE(untrusted.out.find("WARNING: The after-compile commands of the "
                               "template " + tpl + " were not run"),
            std::string::npos)
      << untrusted.out;

  EXPECT_EQ(compileInOut("--allow-commands").status, 0);
  EXPECT_TRUE(fs::exists(ran));
  fs::remove(ran);

  ProgramRun trust = runScrivlet("trust " + shellWord(tpl));
  EXPECT_EQ(trust.status, 0) << trust.err;
  EXPECT_EQ(compileInOut("").status, 0);
  EXPECT_TRUE(fs::exists(ran));
  fs::remove(ran);

  // Changed since it was trusted: not trusted any more.
  std::ofstream(tpl, std::ios::app) << "\n";
  EXPECT_EQ(compileInOut("").status, 0);
  EXPECT_FALSE(fs::exists(ran));
}

TEST(HostileProject, LinksInTheOutputFolderAreReplacedNeverFollowed) {
  ScratchFolder dir;
  std::string vbp = makeProject(dir);
  set(vbp, "--set templatePath=html.scvt");
  write(dir.path("victim.txt"), "precious");
  fs::create_directories(dir.path("Scriv"));
  fs::create_symlink(dir.path("victim.txt"), dir.path("Scriv/Calc.htm"));
  fs::create_symlink(dir.path("victim.txt"), dir.path("Scriv/execAfter.bat"));
  fs::create_symlink(dir.path("nothing-yet.txt"), dir.path("Scriv/modA-Add.htm"));

  ProgramRun run = runScrivlet("compile --quiet " + shellWord(vbp));
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(readFile(dir.path("victim.txt")), "precious");
  EXPECT_FALSE(fs::exists(dir.path("nothing-yet.txt")));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path("Scriv/Calc.htm"))));
  EXPECT_TRUE(
      fs::is_regular_file(fs::symlink_status(dir.path("Scriv/modA-Add.htm"))));

  // The output folder itself leads out of the project.
  ScratchFolder elsewhere;
  fs::remove_all(dir.path("Scriv"));
  fs::create_directory_symlink(elsewhere.folder(), dir.path("Scriv"));
  ProgramRun out = runScrivlet("compile --quiet " + shellWord(vbp));
  EXPECT_EQ(out.status, 1);
  EXPECT_NE(out.err.find("is a link that leads out of the project's folder"),
            std::string::npos)
      << out.err;
  EXPECT_TRUE(fs::is_empty(elsewhere.folder()));
}

TEST(HostileProject, HelpNumbersGoIntoTheProjectsOwnModulesOnly) {
  ScratchFolder dir;
  ScratchFolder shared;
  const std::string outside = shared.path("Shared.bas");
  write(outside, replaceAll(kModule, "modA", "Shared"));
  write(dir.path("notes.txt"), "Public Function Add(ByVal a As Long) As Long\r\n");
  std::string wide("\xFF\xFE", 2);
  for (char c : std::string("Attribute VB_Name = \"W\"\r\nSub A()\r\nEnd Sub\r\n"))
    wide += std::string{c, '\0'};
  write(dir.path("wide.bas"), wide);
  std::string vbp = makeProject(dir, "Module=Shared; " + outside +
                                         "\r\nModule=Notes; notes.txt\r\n"
                                         "Module=W; wide.bas\r\n");
  set(vbp, "--set comContextID=1 --set templatePath=html.scvt");

  ProgramRun run = runScrivlet("compile --quiet " + shellWord(vbp));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(readFile(dir.path("modA.bas")).find("Attribute Add.VB_HelpID"),
            std::string::npos);
  EXPECT_EQ(readFile(outside), replaceAll(kModule, "modA", "Shared"));
  EXPECT_EQ(readFile(dir.path("notes.txt")),
            "Public Function Add(ByVal a As Long) As Long\r\n");
  EXPECT_EQ(readFile(dir.path("wide.bas")), wide);
  EXPECT_NE(run.err.find("\"" + outside + "\" is not written: it lies outside "
                         "the folder of the project"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("notes.txt\" is not written: it is not a Visual Basic "
                         "module (it has no Attribute VB_Name line)"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("wide.bas\" is not written: it is a binary or UTF-16 "
                         "file"),
            std::string::npos)
      << run.err;

  ProgramRun asked =
      runScrivlet("compile --quiet --write-outside-project " + shellWord(vbp));
  EXPECT_NE(readFile(outside).find("Attribute Add.VB_HelpID"),
            std::string::npos)
      << asked.err;
}

TEST(HostileProject, AReadOnlyFileIsNeverReplaced) {
  ScratchFolder dir;
  std::string vbp = makeProject(dir);
  ::chmod(dir.path("modA.bas").c_str(), 0444);
  ProgramRun add = runScrivlet("comment add " + shellWord(dir.path("modA.bas")) + ":2");
  EXPECT_EQ(add.status, 1);
  EXPECT_NE(add.err.find("Permission denied. The file may be read only."),
            std::string::npos)
      << add.err;
  EXPECT_EQ(readFile(dir.path("modA.bas")), kModule);
  // A batch update says so, rather than counting the block as updated.
  ProgramRun update = runScrivlet("comment update --all " + shellWord(vbp));
  EXPECT_EQ(update.status, 1);
  EXPECT_NE((update.out + update.err)
                .find("but 1 file was not written, and the comments in it "
                      "are unchanged"),
            std::string::npos)
      << update.out << update.err;
  EXPECT_EQ(readFile(dir.path("modA.bas")), kModule);

  set(vbp, "--set comContextID=1 --set templatePath=html.scvt");
  ::chmod(dir.path("Calc.vbp").c_str(), 0444);
  const std::string project = readFile(vbp);
  ProgramRun compile = runScrivlet("compile --quiet " + shellWord(vbp));
  EXPECT_EQ(compile.status, 1);
  EXPECT_EQ(readFile(dir.path("modA.bas")), kModule);
  EXPECT_EQ(readFile(vbp), project);
}

TEST(HostileProject, AUtf8ByteOrderMarkIsUnderstoodAndKept) {
  ScratchFolder dir;
  const std::string bom = "\xEF\xBB\xBF";
  write(dir.path("other.bas"), bom + replaceAll(kModule, "modA", "modBom"));
  std::string vbp = makeProject(dir, "Module=Other; other.bas\r\n");
  ProgramRun elements = runScrivlet("elements " + shellWord(vbp));
  EXPECT_NE(elements.out.find("modBom.Add"), std::string::npos) << elements.out;

  ProgramRun add =
      runScrivlet("comment add " + shellWord(dir.path("other.bas")) + ":2");
  EXPECT_EQ(add.status, 0) << add.err;
  std::string saved = readFile(dir.path("other.bas"));
  EXPECT_EQ(saved.substr(0, 3), bom);
  EXPECT_NE(saved.find("Attribute VB_Name = \"modBom\"\r\n'**\r\n"),
            std::string::npos)
      << saved;
}

TEST(HostileProject, AFileThatCannotBeWrittenIsAnErrorNotAnAbort) {
  ScratchFolder dir;
  std::string vbp = makeProject(dir);
  set(vbp, "--set templatePath=html.scvt");
  fs::create_directories(dir.path("Scriv/Calc.htm"));  // a folder in the way
  ProgramRun run = runScrivlet("compile --quiet " + shellWord(vbp));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("ERROR: Cannot write " + dir.path("Scriv/Calc.htm")),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("aborted by user"), std::string::npos) << run.out;
  EXPECT_TRUE(fs::exists(dir.path("Scriv/modA-Add.htm")));  // the compile went on
  // An output folder that is a file.
  write(dir.path("file"), "x");
  ProgramRun intoFile = runScrivlet("compile --quiet " + shellWord(vbp) +
                                    " --output " + shellWord(dir.path("file")));
  EXPECT_EQ(intoFile.status, 1);
  EXPECT_EQ(readFile(dir.path("file")), "x");
}

// A real full disk: a small RAM file system, where the test may mount one.
TEST(HostileProject, AFullDiskEndsTheRunAsAFailure) {
  ScratchFolder dir;
  std::string vbp = makeProject(dir);
  fs::create_directory(dir.path("small"));
  if (::mount("tmpfs", (dir.path("small")).c_str(), "tmpfs", 0, "size=8k") != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  write(dir.path("small/filler"), std::string(4096, 'x'));
  ProgramRun run =
      runScrivlet("compile --quiet " + shellWord(vbp) +
                  " --template " + std::string(SCRIVLET_SOURCE_DIR) +
                  "/templates/html.scvt --output " + shellWord(dir.path("small")));
  ::umount(dir.path("small").c_str());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("No space left on device"), std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("aborted by user"), std::string::npos) << run.out;
}

TEST(HostileProject, SavesLeaveNoTemporaryFileBehind) {
  ScratchFolder dir;
  makeProject(dir);
  // What a save killed half-way left.
  write(dir.path(".modA.bas.scrivlet-Ab12Cd"), "half");
  ProgramRun add = runScrivlet("comment add " + shellWord(dir.path("modA.bas")) + ":2");
  EXPECT_EQ(add.status, 0) << add.err;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.folder()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Calc.vbp", "modA.bas"}));
}

TEST(HostileProject, AGroupSkipsAProjectWithABadNameAndGoesOn) {
  ScratchFolder dir;
  ScratchFolder other;
  std::string good = makeProject(dir);
  std::string bad = makeProject(other, "", "Bad$(echo x)");
  write(dir.path("Both.vbg"), "VBGROUP 5.0\r\nStartupProject=" + good +
                              "\r\nProject=" + bad + "\r\n");
  set(good, "--set templatePath=html.scvt");
  ProgramRun run = runScrivlet("compile --quiet " + shellWord(dir.path("Both.vbg")));
  EXPECT_NE(run.err.find("Project name \"Bad$(echo x)\""), std::string::npos)
      << run.err;
  EXPECT_TRUE(fs::exists(dir.path("Scriv/Calc.htm")));
}

}  // namespace
}  // namespace scrivlet
