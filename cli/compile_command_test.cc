#include "cli/compile_command.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "base/text.h"
#include "compiler/disk_project_test_util.h"
#include "platform/process.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = SCRIVLET_SOURCE_DIR;

// Every file under `folder` with its bytes, output folders left out.
std::map<std::string, std::string> snapshot(const ScratchFolder& dir,
                                            const std::string& skip) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    if (entry.is_regular_file() && entry.path().filename() != skip)
      files[entry.path().filename().string()] =
          dir.read(entry.path().filename().string());
  return files;
}

// The lines of `out` that are not the project line, the after-compile log
// or the dead links that the example's own comments hold.
std::string unexpectedMessages(const std::string& out) {
  std::string unexpected;
  for (const std::string& line : split(out, "\n")) {
    if (line.empty() || line == "Project: Calc" ||
        startsWith(line, "echo ") || startsWith(line, "Documentation written") ||
        startsWith(line, "cd ") || startsWith(line, "Note: ") ||
        startsWith(line, "Writing CHM ") ||
        startsWith(line, "No HTML Help compiler on this machine") ||
        line == "Warning: The dead link 'RoundHalfUp' was found in "
                "'FormatResult' member of 'modMath' module." ||
        line == "Warning: The dead link 'modMath.DEFAULT_PRECISION' was "
                "found in 'Precision' member of 'Calculator' module.")
      continue;
    unexpected += line + "\n";
  }
  return unexpected;
}

// Macro references that no value replaced: "$MEMBER-NAME$". The compiled
// help file is compressed: any few bytes of it may look like one.
std::string leftoverMacros(const std::string& folder) {
  static const std::regex macro(R"(\$[A-Za-z][A-Za-z0-9-]*\$)");
  std::string found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".chm") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    std::smatch m;
    if (std::regex_search(text, m, macro))
      found += entry.path().filename().string() + ": " + m.str() + "\n";
  }
  return found;
}

// Every link of the pages in `folder` (href="...", and the "Local" entries
// of the help contents and index) that names no existing file:
// "Page.htm: Other.htm".
std::string deadLinks(const std::string& folder) {
  static const std::regex href(
      R"re((?:href|name="Local" value)="([^"#]*))re");
  std::string dead;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".htm" &&
        entry.path().extension() != ".hhc" && entry.path().extension() != ".hhk")
      continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    for (std::sregex_iterator it(text.begin(), text.end(), href), end;
         it != end; ++it) {
      std::string target = (*it)[1].str();
      if (!target.empty() && !fs::exists(fs::path(folder) / target))
        dead += entry.path().filename().string() + ": " + target + "\n";
    }
  }
  return dead;
}

TEST(CompileCommand, EveryShippedTemplateCompilesTheExampleCleanly) {
  if (!fs::exists(kSource / "examples/Calc/Calc.vbp"))
    GTEST_SKIP() << "no example project";
  const std::map<std::string, std::string> entryFile = {
      {"html", "Calc.htm"}, {"chm", "Calc.hhp"}, {"rtf", "Calc.rtf"},
      {"markdown", "Calc.md"}};
  for (const auto& [name, entry] : entryFile) {
    SCOPED_TRACE(name);
    ScratchFolder dir;
    fs::copy(kSource / "examples/Calc", dir.path());
    auto before = snapshot(dir, "doc");
    CompileOptions options;
    options.project = dir.path("Calc.vbp");
    options.templateFile = (kSource / "templates" / (name + ".scvt")).string();
    options.outputFolder = dir.path("doc");
    std::ostringstream out, err;
    EXPECT_EQ(runCompileCommand(options, out, err), compileDone);
    EXPECT_EQ(unexpectedMessages(out.str()), "");
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(dir.exists("doc/" + entry));
    EXPECT_EQ(leftoverMacros(dir.path("doc")), "");
    EXPECT_EQ(deadLinks(dir.path("doc")), "");
    // The example's enum and type have their pages, items and all.
    std::string pages;
    for (const auto& file : fs::directory_iterator(dir.path("doc")))
      pages += dir.read("doc/" + file.path().filename().string());
    EXPECT_NE(pages.find("rmTruncate"), std::string::npos);
    EXPECT_NE(pages.find("Reserved(1 To 4)"), std::string::npos);
    // A plain compile changes no byte of the project, and writes no
    // settings file either.
    EXPECT_EQ(snapshot(dir, "doc"), before);
  }
}

// Where chmcmd is installed, the HTML Help template builds the help file,
// and it holds every page; without it the sources are written and one line
// says so.
TEST(CompileCommand, TheHelpTemplateBuildsTheHelpFileWithEveryPage) {
  if (findProgram("chmcmd").empty() || findProgram("chmls").empty())
    GTEST_SKIP() << "chmcmd and chmls (fp-utils) are not installed";
  ScratchFolder dir;
  fs::copy(kSource / "examples/Calc", dir.path());
  CompileOptions options;
  options.project = dir.path("Calc.vbp");
  options.templateFile = (kSource / "templates/chm.scvt").string();
  options.outputFolder = dir.path("doc");
  std::ostringstream out, err;
  ASSERT_EQ(runCompileCommand(options, out, err), compileDone) << out.str();
  ASSERT_TRUE(dir.exists("doc/Calc.chm")) << out.str();

  std::string listing;
  std::string command = "chmls '" + dir.path("doc/Calc.chm") + "'";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    listing.append(buffer, n);
  ::pclose(pipe);
  int pages = 0;
  for (const auto& entry : fs::directory_iterator(dir.path("doc"))) {
    if (entry.path().extension() != ".htm") continue;
    ++pages;
    EXPECT_NE(listing.find("/" + entry.path().filename().string()),
              std::string::npos)
        << entry.path();
  }
  EXPECT_GT(pages, 10);
}

TEST(CompileCommand, AGroupCompilesEveryProjectWithTheGroupFiles) {
  ScratchFolder dir;
  dir.write("G.vbg", crlf({"VBGROUP 5.0", "StartupProject=A.vbp",
                           "Project=B.vbp"}));
  for (const std::string project : {"A", "B"}) {
    dir.write(project + ".vbp", crlf({"Type=Exe", "Class=C" + project +
                                                      "; C" + project + ".cls",
                                      "Name=\"" + project + "\""}));
    dir.write("C" + project + ".cls",
              classFile("C" + project, crlf({"Option Explicit"})));
  }
  dir.write("t.scvt",
            "$PROJECT-EXT$ .txt\n$CONTENTS-EXT$ .toc\n"
            "$scriv-group-project-body$\n$DOLIST$ $GROUP-PROJECTS-LIST$\n"
            "$LIST-ITEM$ $END-DOLIST$\n$end-scriv-group-project-body$\n"
            "$scriv-project-body$\nproject $PROJECT-NAME$\n"
            "$end-scriv-project-body$\n");
  CompileOptions options;
  options.project = dir.path("G.vbg");
  options.templateFile = dir.path("t.scvt");
  options.outputFolder = dir.path("doc");
  std::ostringstream out, err;
  EXPECT_EQ(runCompileCommand(options, out, err), compileDone);
  EXPECT_EQ(out.str(), "Project: A\nProject: B\n");
  EXPECT_EQ(dir.read("doc/Group+.txt"), "A B ");
  EXPECT_EQ(dir.read("doc/A.txt"), "project A");
  EXPECT_EQ(dir.read("doc/B.txt"), "project B");
}

// Two projects of a group, compiled into one folder, each with a Form1:
// the second one's page gets a name of its own, with a warning, and its
// links lead there; the group's own files are rewritten by each project
// without one.
TEST(CompileCommand, AGroupIntoOneFolderKeepsEveryProjectsPages) {
  ScratchFolder dir;
  dir.write("G.vbg", crlf({"VBGROUP 5.0", "StartupProject=a/A.vbp",
                           "Project=b/B.vbp"}));
  for (const std::string project : {"A", "B"}) {
    std::string folder = project == "A" ? "a/" : "b/";
    dir.write(folder + project + ".vbp",
              crlf({"Type=Exe", "Class=Form1; Form1.cls",
                    "Name=\"" + project + "\""}));
    dir.write(folder + "Form1.cls",
              classFile("Form1", crlf({"'**", "' Of " + project + ".",
                                       "Option Explicit"})));
  }
  dir.write("t.scvt",
            "$PROJECT-EXT$ .txt\n$CONTENTS-EXT$ .toc\n$INDEX-EXT$ .idx\n"
            "$MEMBER-EXT$ .htm\n"
            "$scriv-group-project-body$\n$DOLIST$ $GROUP-PROJECTS-LIST$\n"
            "$LIST-ITEM$ $END-DOLIST$\n$end-scriv-group-project-body$\n"
            "$scriv-index-body$\n$DOLIST$ $INDEX-LINK-LIST$\n"
            "$LIST-ITEM-LOCATION$=$LIST-ITEM-FILE$ $END-DOLIST$\n"
            "$end-scriv-index-body$\n"
            "$scriv-object-body$\n$MEMBER-DESCRIPTION$\n"
            "$end-scriv-object-body$\n");
  CompileOptions options;
  options.project = dir.path("G.vbg");
  options.templateFile = dir.path("t.scvt");
  options.outputFolder = dir.path("doc");
  std::ostringstream out, err;
  EXPECT_EQ(runCompileCommand(options, out, err), compileDone);
  EXPECT_EQ(out.str(),
            "Project: A\nProject: B\nWARNING: \"Form1.htm\" is the name of a "
            "page written before (\"Form1.htm\", letter case aside); this "
            "page is written as \"Form1-2.htm\".\n");
  EXPECT_EQ(dir.read("doc/Group+.txt"), "A B ");
  EXPECT_EQ(dir.read("doc/Form1.htm"), " Of A.\r\n");
  EXPECT_EQ(dir.read("doc/Form1-2.htm"), " Of B.\r\n");
  EXPECT_EQ(dir.read("doc/A.idx"), "Form1= ");
  EXPECT_EQ(dir.read("doc/B.idx"), "Form1=Form1-2.htm ");
}

// A project of a group named like a class of a project before it: all of
// them link to a project's files by the project's name, so the project
// keeps it and the class page, whose links follow it, steps aside.
TEST(CompileCommand, AProjectNamedLikeAnEarlierProjectsClassKeepsItsName) {
  ScratchFolder dir;
  dir.write("G.vbg", crlf({"VBGROUP 5.0", "StartupProject=A.vbp",
                           "Project=Lib.vbp"}));
  dir.write("A.vbp", crlf({"Type=Exe", "Class=LIB; Lib.cls", "Name=\"A\""}));
  dir.write("Lib.cls", classFile("LIB", crlf({"'**", "' A class.",
                                             "Option Explicit"})));
  dir.write("Lib.vbp", crlf({"Type=OleDll", "Class=C; C.cls", "Name=\"Lib\""}));
  dir.write("C.cls", classFile("C", crlf({"Option Explicit"})));
  dir.write("t.scvt",
            "$PROJECT-EXT$ .htm\n$MEMBER-EXT$ .htm\n$CONTENTS-EXT$ .toc\n"
            "$INDEX-EXT$ .idx\n"
            "$scriv-project-body$\nproject $PROJECT-NAME$\n"
            "$end-scriv-project-body$\n"
            "$scriv-index-body$\n$DOLIST$ $INDEX-LINK-LIST$\n"
            "$LIST-ITEM-LOCATION$=$LIST-ITEM-FILE$ $END-DOLIST$\n"
            "$end-scriv-index-body$\n"
            "$scriv-object-body$\nclass $MEMBER-NAME$\n"
            "$end-scriv-object-body$\n");
  CompileOptions options;
  options.project = dir.path("G.vbg");
  options.templateFile = dir.path("t.scvt");
  options.outputFolder = dir.path("doc");
  std::ostringstream out, err;
  EXPECT_EQ(runCompileCommand(options, out, err), compileDone);
  EXPECT_EQ(out.str(),
            "Project: A\nWARNING: \"LIB.htm\" is kept for the files of the "
            "project Lib (\"Lib.htm\", letter case aside); this page is "
            "written as \"LIB-2.htm\".\nProject: Lib\n");
  EXPECT_EQ(dir.read("doc/LIB-2.htm"), "class LIB");
  EXPECT_EQ(dir.read("doc/A.idx"), "LIB=LIB-2.htm ");
  EXPECT_EQ(dir.read("doc/Lib.htm"), "project Lib");
}

// The module left out is told with the compile's messages; the first of
// the name is documented.
TEST(CompileCommand, ASecondModuleOfANameIsReportedWithTheCompile) {
  ScratchFolder dir;
  dir.write("P.vbp", crlf({"Type=Exe", "Class=C; C.cls", "Class=c; old/c.cls",
                           "Name=\"P\""}));
  dir.write("C.cls", classFile("C", crlf({"'**", "' New.", "Option Explicit"})));
  dir.write("old/c.cls", classFile("c", crlf({"'**", "' Old.", "Option Explicit"})));
  dir.write("t.scvt", "$MEMBER-EXT$ .txt\n$scriv-object-body$\n"
                      "$MEMBER-DESCRIPTION$\n$end-scriv-object-body$\n");
  CompileOptions options;
  options.project = dir.path("P.vbp");
  options.templateFile = dir.path("t.scvt");
  options.outputFolder = dir.path("doc");
  std::ostringstream out, err;
  EXPECT_EQ(runCompileCommand(options, out, err), compileDone);
  EXPECT_EQ(out.str(), "WARNING: Module name \"c\" in \"" +
                           dir.path("old/c.cls") +
                           "\" is the name of the module in \"" +
                           dir.path("C.cls") + "\" too (letter case aside); \"" +
                           dir.path("old/c.cls") + "\" is skipped\n"
                           "Project: P\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(dir.read("doc/C.txt"), " New.\r\n");
}

TEST(CompileCommand, AnInterruptStopsTheCompileAndSavesNothing) {
  ScratchFolder dir;
  dir.write("P.vbp", crlf({"Type=Exe", "Class=C; C.cls", "Name=\"P\""}));
  dir.write("C.cls", classFile("C", crlf({"Option Explicit", "'**", "' Go.",
                                          "Public Sub Go()", "End Sub"})));
  // Help numbers on: a finished compile would write them into C.cls.
  dir.write("P.scriv", crlf({"#Scrivlet Project Settings#",
                            "comContextID = 1"}) +
                           "comModules = C");
  dir.write("t.scvt", "$PROJECT-EXT$ .txt\n");
  std::string module = dir.read("C.cls");
  CompileOptions options;
  options.project = dir.path("P.vbp");
  options.templateFile = dir.path("t.scvt");
  options.outputFolder = dir.path("doc");
  std::ostringstream out, err;
  compileInterrupted = 1;
  int result = runCompileCommand(options, out, err);
  compileInterrupted = 0;
  EXPECT_EQ(result, compileFailed);
  EXPECT_EQ(out.str(), "Project: P\nCompilation aborted by user\n");
  EXPECT_EQ(dir.read("C.cls"), module);
  EXPECT_FALSE(dir.exists("doc/P.txt"));

  // Run to its end, the same compile saves the help numbers.
  EXPECT_EQ(runCompileCommand(options, out, err), compileDone);
  EXPECT_NE(dir.read("C.cls").find("Attribute Go.VB_HelpID = "),
            std::string::npos);
}

// Runs the program; its exit status, standard output in `out`.
int runProgram(const std::string& arguments, std::string& out) {
  ScratchFolder capture;
  std::string command = std::string(SCRIVLET_BINARY) + " " + arguments +
                        " > " + capture.path("out") + " 2> " +
                        capture.path("err") + " < /dev/null";
  int status = std::system(command.c_str());
  out = capture.read("out");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CompileProgram, ExitStatusTellsDoneFailedAndWrongUsage) {
  std::string out;
  EXPECT_EQ(runProgram("compile", out), 2);
  EXPECT_EQ(runProgram("compile /nonexistent/P.vbp", out), 1);

  ScratchFolder dir;
  dir.write("P.vbp", crlf({"Type=Exe", "Class=C; C.cls", "Name=\"P\""}));
  dir.write("C.cls", classFile("C", crlf({"Option Explicit"})));
  EXPECT_EQ(runProgram("compile " + dir.path("P.vbp") + " --template " +
                           dir.path("missing.scvt") + " --output " +
                           dir.path("doc"),
                       out),
            1);
  dir.write("t.scvt", "$PROJECT-EXT$ .txt\n");
  // Into a pipe: the messages and the summary, no status line.
  EXPECT_EQ(runProgram("compile " + dir.path("P.vbp") + " --template " +
                           dir.path("t.scvt") + " --output " + dir.path("doc"),
                       out),
            0);
  EXPECT_TRUE(startsWith(out, "Project: P\nDone: 5 files written, 0 warnings, "
                              "0 errors in "))
      << out;
  // Quiet: warnings and errors only.
  EXPECT_EQ(runProgram("compile --quiet " + dir.path("P.vbp") + " --template " +
                           dir.path("t.scvt") + " --output " + dir.path("doc"),
                       out),
            0);
  EXPECT_EQ(out, "");
  // A template error fails the run; a warning only with --werror.
  dir.write("bad.scvt", "$PROJECT-EXT$ .txt\n$scriv-project-body$\nnever ends\n");
  EXPECT_EQ(runProgram("compile --quiet " + dir.path("P.vbp") + " --template " +
                           dir.path("bad.scvt") + " --output " + dir.path("doc"),
                       out),
            1);
  EXPECT_TRUE(startsWith(out, dir.path("bad.scvt") +
                                  ":2: ERROR (config file): "))
      << out;
  dir.write("warn.scvt", "$PROJECT-EXT$ .txt\n$scriv-project-body$\n$X \n"
                         "$end-scriv-project-body$\n");
  const std::string warned = "compile --quiet " + dir.path("P.vbp") +
                             " --template " + dir.path("warn.scvt") +
                             " --output " + dir.path("doc");
  EXPECT_EQ(runProgram(warned, out), 0);
  // The place of a template warning: the template file and its line.
  EXPECT_TRUE(startsWith(out, dir.path("warn.scvt") +
                                  ":3: WARNING (config file): Wrong macro "
                                  "name $X."))
      << out;
  EXPECT_EQ(runProgram(warned + " --werror", out), 1);
  // Only the chosen output folder was made, not the settings' default one.
  EXPECT_TRUE(dir.exists("doc/P.txt"));
  EXPECT_FALSE(dir.exists("Scriv"));
}

}  // namespace
}  // namespace scrivlet
