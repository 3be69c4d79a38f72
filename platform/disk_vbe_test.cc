#include "platform/disk_vbe.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "base/scratch_folder_test_util.h"
#include "platform/disk_code_module.h"
#include "platform/disk_path.h"
#include "source/crlf_test_util.h"
#include "source/source_lines.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

std::string module(const std::string& name, const std::string& body = "") {
  return crlf({"Attribute VB_Name = \"" + name + "\""}) + body;
}

std::string describe(const VBProject& project) {
  std::string out;
  for (VBComponent* c : project.VBComponents())
    out += c->Name() + " " + std::to_string(c->Type()) +
           (c->CodeModule() ? " code\n" : "\n");
  return out;
}

void writeCalcProject(const ScratchFolder& dir) {
  dir.write("Calc.vbp",
            crlf({"Type=Exe",
                  "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#..\\stdole2.tlb#OLE Automation",
                  "Module=modMain; Source\\modMain.bas",
                  "Class=CThing; Source\\Thing.cls",
                  "Form=frmMain.frm",
                  "Form=frmShell.frm",
                  "Designer=Connect.Dsr",
                  "Designer=Report.dsr",
                  "UserControl=Missing.ctl",
                  "Class=Bad; Bad.cls",
                  "RelatedDoc=Docs\\Readme.txt",
                  "ResFile32=\"Calc.res\"",
                  "PropertyPage=Page.pag",
                  "UserDocument=Doc.dob",
                  "Name=\"Calc\"",
                  "HelpFile=\"calc.hlp\"",
                  "HelpContextID=\"7\"",
                  "Description=\"A calculator\"",
                  "",
                  "[MS Transaction Server]",
                  "Name=\"Other\""}));
  // Written names in another case than the files on disk.
  dir.write("source/ModMain.bas", module("modMain", "Sub Main()\r\nEnd Sub\r\n"));
  dir.write("source/Thing.cls", module("Thing", "Public Value As Long\r\n"));
  dir.write("frmMain.frm", "VERSION 5.00\r\nBegin VB.Form frmMain \r\nEnd\r\n" +
                               module("frmMain"));
  dir.write("frmShell.frm", "VERSION 5.00\r\nBegin VB.MDIForm frmShell \r\nEnd\r\n" +
                                module("frmShell"));
  dir.write("connect.dsr",
            "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} Connect \r\nEnd\r\n" +
                module("Connect"));
  dir.write("Report.dsr",
            "VERSION 5.00\r\nBegin {78E93846-85FD-11D0-8487-00A0C90DC8A9} Report \r\nEnd\r\n" +
                module("Report"));
  dir.write("Bad.cls", module("../x"));
  dir.write("Page.pag", module("Page"));
  dir.write("Doc.dob", module("Doc"));
}

TEST(DiskVBE, LoadsEveryKindOfComponentInFileOrder) {
  ScratchFolder dir;
  writeCalcProject(dir);
  std::string error;
  auto vbe = openProjectOrGroup(dir.path("Calc.vbp"), error);
  ASSERT_TRUE(vbe) << error;
  VBProject* project = vbe->ActiveVBProject();
  ASSERT_EQ(vbe->VBProjects(), std::vector<VBProject*>{project});
  EXPECT_EQ(project->Name(), "Calc");
  EXPECT_EQ(project->FileName(), dir.path("Calc.vbp"));
  EXPECT_EQ(project->HelpFile(), "calc.hlp");
  EXPECT_EQ(project->HelpContextID(), 7);
  EXPECT_EQ(project->Description(), "A calculator");
  EXPECT_EQ(describe(*project),
            "modMain 1 code\n"
            "Thing 2 code\n"
            "frmMain 5 code\n"
            "frmShell 6 code\n"
            "Connect 3 code\n"
            "Report 11 code\n"
            "Missing 8\n"
            "../x 2\n"
            "Readme.txt 10\n"
            "Calc.res 4\n"
            "Page 7 code\n"
            "Doc 9 code\n");
  EXPECT_EQ(vbe->loadMessages,
            (std::vector<std::string>{
                "Cannot read \"" + dir.path("Missing.ctl") +
                    "\": No such file or directory; Missing stays in the "
                    "project without its code",
                "Module name \"../x\" in \"" + dir.path("Bad.cls") +
                    "\" is not a valid name; the module stays in the project "
                    "without its code"}));
  CodeModule* main = project->VBComponents()[0]->CodeModule();
  EXPECT_EQ(main->Name(), "modMain");
  EXPECT_EQ(main->Parent(), project->VBComponents()[0]);
  EXPECT_EQ(main->ProcBodyLine("Main", 0), 1);
}

// A large project's modules are read on several threads; they, and the
// messages about those that cannot be read, still come in the file's order.
TEST(DiskVBE, ManyModulesLoadInFileOrder) {
  ScratchFolder dir;
  std::string projectFile = "Type=Exe\r\n";
  std::string expected;
  std::vector<std::string> messages;
  for (int i = 0; i < 200; ++i) {
    std::string name = "Mod" + std::to_string(i);
    projectFile += "Module=" + name + "; " + name + ".bas\r\n";
    if (i % 37 == 5) {
      messages.push_back("Cannot read \"" + dir.path(name + ".bas") +
                         "\": No such file or directory; " + name +
                         " stays in the project without its code");
      expected += name + " 1\n";
      continue;
    }
    dir.write(name + ".bas",
              module(name, crlf({"Public Sub Run" + std::to_string(i) + "()",
                                 "End Sub"})));
    expected += name + " 1 code\n";
  }
  dir.write("Big.vbp", projectFile);
  std::string error;
  auto vbe = openProjectOrGroup(dir.path("Big.vbp"), error);
  ASSERT_TRUE(vbe) << error;
  VBProject* project = vbe->ActiveVBProject();
  EXPECT_EQ(describe(*project), expected);
  EXPECT_EQ(vbe->loadMessages, messages);
  CodeModule* last = project->VBComponents()[199]->CodeModule();
  EXPECT_EQ(last->Parent(), project->VBComponents()[199]);
  EXPECT_EQ(last->ProcBodyLine("Run199", 0), 1);
}

// A second module of a name (letter case aside) would otherwise vanish
// from everything that finds modules by name, with its documentation, and
// without a word: it is skipped with a warning naming both files. An
// unreadable one counts under the name it would have had.
TEST(DiskVBE, ASecondModuleOfTheSameNameIsSkippedNamingBothFiles) {
  ScratchFolder dir;
  dir.write("P.vbp", crlf({"Type=Exe", "Module=modA; a.bas",
                           "Module=Other; b.bas", "Module=MODA; gone.bas",
                           "Module=modB; c.bas", "Name=\"P\""}));
  dir.write("a.bas", module("modA"));
  dir.write("b.bas", module("MODA", crlf({"'**", "' Documented.",
                                          "Public Sub Run()", "End Sub"})));
  dir.write("c.bas", module("modB"));
  std::string error;
  auto vbe = openProjectOrGroup(dir.path("P.vbp"), error);
  ASSERT_TRUE(vbe) << error;
  EXPECT_EQ(describe(*vbe->ActiveVBProject()), "modA 1 code\nmodB 1 code\n");
  EXPECT_EQ(vbe->loadMessages,
            (std::vector<std::string>{
                "WARNING: Module name \"MODA\" in \"" + dir.path("b.bas") +
                    "\" is the name of the module in \"" + dir.path("a.bas") +
                    "\" too (letter case aside); \"" + dir.path("b.bas") +
                    "\" is skipped",
                "WARNING: Module name \"MODA\" in \"" + dir.path("gone.bas") +
                    "\" is the name of the module in \"" + dir.path("a.bas") +
                    "\" too (letter case aside); \"" + dir.path("gone.bas") +
                    "\" is skipped"}));
}

TEST(DiskVBE, GroupListsProjectsInLineOrderAndStartsWithTheStartupProject) {
  ScratchFolder dir;
  dir.write("a/A.vbp", crlf({"Type=Exe", "Module=modA; modA.bas", "Name=\"A\""}));
  dir.write("a/modA.bas", module("modA"));
  dir.write("B.vbp", crlf({"Type=OleDll", "Name=\"B\""}));
  dir.write("All.vbg", crlf({"VBGROUP 5.0", "Project=a\\A.vbp",
                             "StartupProject=b.vbp", "Project=Gone.vbp"}));
  std::string error;
  auto vbe = openProjectOrGroup(dir.path("All.vbg"), error);
  ASSERT_TRUE(vbe) << error;
  ASSERT_EQ(vbe->VBProjects().size(), 2u);
  EXPECT_EQ(vbe->VBProjects()[0]->Name(), "A");
  EXPECT_EQ(vbe->VBProjects()[1]->Name(), "B");
  EXPECT_EQ(vbe->ActiveVBProject(), vbe->VBProjects()[1]);
  EXPECT_EQ(vbe->loadMessages,
            std::vector<std::string>{"Cannot read \"" + dir.path("Gone.vbp") +
                                     "\": No such file or directory"});
  vbe->setActiveVBProject(vbe->VBProjects()[0]);
  EXPECT_EQ(vbe->ActiveVBProject()->Name(), "A");
}

TEST(DiskVBE, UnreadableOrWrongFilesAreRefusedNamingTheFile) {
  ScratchFolder dir;
  dir.write("modA.bas", module("modA"));
  dir.write("Empty.vbg", "VBGROUP 5.0\r\nProject=Nowhere.vbp\r\n");
  dir.write("sub/keep", "");
  std::string error;
  EXPECT_FALSE(openProjectOrGroup(dir.path("None.vbp"), error));
  EXPECT_EQ(error, "Cannot read \"" + dir.path("None.vbp") +
                       "\": No such file or directory");
  EXPECT_FALSE(openProjectOrGroup(dir.path("sub"), error));
  EXPECT_EQ(error, "\"" + dir.path("sub") + "\" is a folder, not a file");
  EXPECT_FALSE(openProjectOrGroup(dir.path("modA.bas"), error));
  EXPECT_EQ(error, "\"" + dir.path("modA.bas") +
                       "\" is not a Visual Basic project file");
  EXPECT_FALSE(openProjectOrGroup(dir.path("Empty.vbg"), error));
  EXPECT_EQ(error, "None of the projects of the group \"" +
                       dir.path("Empty.vbg") + "\" could be opened");
}

TEST(DiskVBE, SavesOnlyWhatChangedKeepingEveryOtherByte) {
  ScratchFolder dir;
  std::string projectText =
      crlf({"Type=Exe", "Module=modA; modA.bas", "Module=modB; modB.bas",
            "HelpFile=\"\"", "Name=\"P\"", "", "[Extra]", "HelpFile=x"});
  dir.write("P.vbp", projectText);
  dir.write("modA.bas", module("modA", crlf({"Public Sub Go()", "End Sub"})));
  dir.write("modB.bas", module("modB"));
  std::string error;
  auto vbe = openProjectOrGroup(dir.path("P.vbp"), error);
  ASSERT_TRUE(vbe) << error;
  VBProject* project = vbe->ActiveVBProject();
  CodeModule* a = project->VBComponents()[0]->CodeModule();
  a->Members()[0]->setHelpContextID(100);
  a->InsertLines(1, "'**\r\n' Goes.");
  project->setHelpFile("out/P.hlp");
  static_cast<DiskVBProject*>(project)->setDescription("Two\r\nlines");
  // modB is untouched: a file changed behind our back shows it is not written.
  dir.write("modB.bas", "changed elsewhere");

  EXPECT_EQ(vbe->saveChanged(), std::vector<std::string>{});
  EXPECT_EQ(dir.read("modA.bas"),
            module("modA", crlf({"'**", "' Goes.", "Public Sub Go()",
                                 "Attribute Go.VB_HelpID = 100", "End Sub"})));
  EXPECT_EQ(dir.read("modB.bas"), "changed elsewhere");
  EXPECT_EQ(dir.read("P.vbp"),
            crlf({"Type=Exe", "Module=modA; modA.bas", "Module=modB; modB.bas",
                  "HelpFile=\"out/P.hlp\"", "Name=\"P\"",
                  "Description=\"Two lines\"", "", "[Extra]", "HelpFile=x"}));
  EXPECT_EQ(project->Description(), "Two lines");

  // Edits that cancel out since the last save write nothing, and nor does
  // a project file saved already.
  a->InsertLines(3, "' gone again");
  a->DeleteLines(3);
  dir.write("modA.bas", "changed elsewhere");
  fs::remove(dir.path("P.vbp"));
  EXPECT_EQ(vbe->saveChanged(), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(dir.path("P.vbp")));
  EXPECT_EQ(dir.read("modA.bas"), "changed elsewhere");
  EXPECT_FALSE(static_cast<DiskVBProject*>(project)->changed());
}

// What the loader relies on: the physical line of a procedure member's
// logical location is its body line, and that line names the member.
void expectLocationsAgree(DiskCodeModule& m) {
  for (const auto& member : m.Members()) {
    if (member->Type() != vbext_mt_Method && member->Type() != vbext_mt_Property)
      continue;
    long line = physicalLine(m, member->CodeLocation());
    int kind = -1;
    std::string name = m.ProcOfLine(line, kind);
    if (static_cast<const DiskMember&>(*member).isDeclare()) {
      EXPECT_EQ(name, "") << m.Name() << "." << member->Name();
      EXPECT_EQ(m.ProcCountLines(member->Name(), 0), m.CountOfDeclarationLines());
      continue;
    }
    EXPECT_EQ(name, member->Name()) << m.Name() << " line " << line;
    EXPECT_EQ(m.ProcBodyLine(name, kind), line) << m.Name() << "." << name;
    std::shared_ptr<Element> element = elementForMember(m, member);
    ASSERT_TRUE(element) << m.Name() << "." << name;
  }
}

// Every project and group of the real projects loads, with nothing left
// out, and every module reads back into exactly its own bytes.
TEST(DiskVBE, RealProjectsLoad) {
  fs::path corpora(SCRIVLET_CORPORA_DIR);
  if (!fs::exists(corpora)) GTEST_SKIP() << "no corpora at " << corpora;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpora)) {
    std::string ext = entry.path().extension().string();
    if (ext != ".vbp" && ext != ".vbg") continue;
    ++files;
    std::string error;
    auto vbe = openProjectOrGroup(entry.path().string(), error);
    ASSERT_TRUE(vbe) << error;
    EXPECT_EQ(vbe->loadMessages, std::vector<std::string>{}) << entry.path();
    EXPECT_GE(vbe->VBProjects().size(), 1u) << entry.path();
    for (const auto& project : vbe->projects()) {
      long members = 0;
      for (const auto& c : project->components()) {
        if (c->Type() == vbext_ct_ResFile ||
            c->Type() == vbext_ct_RelatedDocument)
          continue;
        DiskCodeModule* m = c->diskCodeModule();
        ASSERT_TRUE(m) << c->filePath();
        std::string bytes;
        ASSERT_TRUE(readFileBytes(m->filePath(), bytes, error));
        EXPECT_EQ(m->toBytes(), bytes) << m->filePath();
        EXPECT_LE(m->CountOfDeclarationLines(), m->CountOfLines());
        members += static_cast<long>(m->Members().size());
        expectLocationsAgree(*m);
      }
      EXPECT_GT(members, 0) << project->FileName();
    }
  }
  EXPECT_GT(files, 10);
}

// Inserting lines and deleting them again gives back the original file,
// through two real saves, for a CR LF file and for the one with LF alone.
TEST(DiskVBE, RealModuleRoundTripsThroughSaves) {
  fs::path corpora(SCRIVLET_CORPORA_DIR);
  if (!fs::exists(corpora)) GTEST_SKIP() << "no corpora at " << corpora;
  for (const char* file : {"SimplyVBUnit/Source/Framework/TestSuite.cls",
                           "SimplyVBUnit/Source/Fakes/FakeTypes.cls"}) {
    ScratchFolder dir;
    std::string original, error;
    ASSERT_TRUE(readFileBytes((corpora / file).string(), original, error));
    dir.write("M.cls", original);
    DiskCodeModule m(nullptr, original, dir.path("M.cls"));
    long line = m.CountOfDeclarationLines() + 1;
    m.InsertLines(line, "'**\r\n' Inserted.\r\n'");
    ASSERT_TRUE(m.save(error)) << error;
    std::string eol = original.find('\r') == std::string::npos ? "\n" : "\r\n";
    std::string saved = dir.read("M.cls");
    EXPECT_EQ(saved.size(), original.size() + 15 + 3 * eol.size());
    EXPECT_NE(saved.find(eol + "'**" + eol + "' Inserted." + eol + "'" + eol),
              std::string::npos);
    m.DeleteLines(line, 3);
    ASSERT_TRUE(m.save(error)) << error;
    EXPECT_EQ(dir.read("M.cls"), original) << file;
  }
}

}  // namespace
}  // namespace scrivlet
