#include "compiler/compile_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/text.h"
#include "compiler/disk_project_test_util.h"

namespace scrivlet {
namespace {

namespace fs = std::filesystem;

// Each section writes one line naming itself, so a file shows what went
// into it and in which order.
std::string templateText(const std::string& split) {
  return split +
         "$MEMBER-EXT$ .htm\n"
         "$PROJECT-EXT$ .hhp\n"
         "$CONTENTS-EXT$ .hhc\n"
         "$INDEX-EXT$ .hhk\n"
         "$scriv-group-project-body$\n"
         "group $PROJECT-NAME$:$DOLIST$ $GROUP-PROJECTS-LIST$\n"
         "$LIST-ITEM$,$END-DOLIST$;\n"
         "$end-scriv-group-project-body$\n"
         "$scriv-group-contents-body$\ngroup contents;\n"
         "$end-scriv-group-contents-body$\n"
         "$scriv-project-body$\nproject $PROJECT-NAME$ in $OUTPUT-PATH$;\n"
         "$end-scriv-project-body$\n"
         "$scriv-contents-body$\ncontents:$DOLIST$ $CONT-METHODS-LINK-LIST$\n"
         " $LIST-ITEM-LABEL$$END-DOLIST$;\n$end-scriv-contents-body$\n"
         "$scriv-index-body$\nindex:$DOLIST$ $INDEX-LINK-LIST$\n"
         " $LIST-ITEM-LABEL$$END-DOLIST$;\n$end-scriv-index-body$\n"
         "$scriv-title-body$\ntitle;\n$end-scriv-title-body$\n"
         "$scriv-form-body$\nform $MEMBER-NAME$;\n$end-scriv-form-body$\n"
         "$scriv-object-body$\nobject $MEMBER-NAME$;\n"
         "$end-scriv-object-body$\n"
         "$scriv-stdmodule-body$\nmodule $MEMBER-NAME$;\n"
         "$end-scriv-stdmodule-body$\n"
         "$scriv-method-body$\nmethod $MEMBER-NAME$;\n"
         "$end-scriv-method-body$\n"
         "$scriv-function-body$\nfunction $MEMBER-NAME$;\n"
         "$end-scriv-function-body$\n"
         "$scriv-property-body$\nproperty $MEMBER-NAME$;\n"
         "$end-scriv-property-body$\n"
         "$scriv-exec-after$\necho ran\n$end-scriv-exec-after$\n"
         "$scriv-help-file$\n$OUTPUT-PATH$/$PROJECT-NAME$.hhp\n"
         "$end-scriv-help-file$\n";
}

std::string fileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return join(names, " ");
}

// The pages of a file, each ended by ";".
std::string lines(const std::string& bytes) {
  return replaceAll(bytes, ";", "|");
}

class CompileDriverTest : public ::testing::Test {
 protected:
  CompileDriverTest() {
    dir.write("Proj.vbp",
              crlf({"Type=Exe", "Form=Form1.frm", "Class=C1; C1.cls",
                    "Module=M1; M1.bas", "Name=\"Proj\""}));
    dir.write("Form1.frm",
              formFile("Form1", crlf({"Option Explicit", "'**", "' Zaps.",
                                      "Public Sub Zap()", "End Sub", "'**",
                                      "' Loads.", "Public Sub Load()",
                                      "End Sub"})));
    dir.write("C1.cls", classFile("C1", crlf({"Option Explicit", "'**",
                                              "' The size.",
                                              "Public Property Get Size() As Long",
                                              "End Property", "'**", "' Goes.",
                                              "Public Sub Go()", "End Sub"})));
    dir.write("M1.bas", moduleFile("M1", crlf({"Option Explicit", "'**",
                                              "' Computes.",
                                              "Public Function F() As Long",
                                              "End Function"})));
    fs::create_directories(dir.path("out"));
  }

  std::unique_ptr<Compilation> compilation(const std::string& split) {
    auto c = std::make_unique<Compilation>(dir.path("Proj.vbp"),
                                           templateText(split),
                                           dir.path("out") + "/");
    c->settings.comStdModule = true;
    return c;
  }

  ScratchFolder dir;
};

TEST_F(CompileDriverTest, WithoutSplitEveryPageHasAFileOfItsOwn) {
  auto c = compilation("");
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  EXPECT_EQ(fileNames(dir.path("out")),
            "C1-Go.htm C1-Size.htm C1.htm Form1-Load.htm Form1-Zap.htm "
            "Form1.htm M1-F.htm M1.htm Proj+title.htm Proj.hhc Proj.hhk "
            "Proj.hhp");
  // The output folder is named without its trailing separator.
  EXPECT_EQ(dir.read("out/Proj.hhp"),
            "project Proj in " + dir.path("out") + ";");
  EXPECT_EQ(dir.read("out/Form1-Load.htm"), "method Load;");
  EXPECT_EQ(dir.read("out/M1-F.htm"), "function F;");
  EXPECT_EQ(dir.read("out/Proj.hhc"),
            "contents: Go Method Load Method Zap Method;");
  EXPECT_EQ(c->sink.messages, "Project: Proj\necho ran\rran\n");
  EXPECT_EQ(c->sink.statuses,
            "Compiling: Analysing the project...\nCompiling: project file...\n"
            "Compiling: contents...\nCompiling: index...\n"
            "Compiling: title page...\nCompiling: Form1\nCompiling: Form1.Zap\n"
            "Compiling: Form1.Load\nCompiling: C1\nCompiling: C1.Size\n"
            "Compiling: C1.Go\nCompiling: M1\nCompiling: M1.F\n"
            "Compiling: external programs...\n");
  // Nothing of the project itself changed.
  EXPECT_TRUE(c->vbe->saveChanged().empty());
}

TEST_F(CompileDriverTest, APageNameThatWouldLeaveTheOutputFolderIsRefused) {
  dir.write("C1.cls", classFile("C1", crlf({"Option Explicit", "'**", "' Escapes.",
                                            "Public Sub [../../x]()", "End Sub"})));
  auto c = compilation("");
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  EXPECT_FALSE(fs::exists(dir.path("x.htm")));
  EXPECT_FALSE(fs::exists(dir.path("out/../x.htm")));
  EXPECT_NE(c->sink.messages.find("WARNING: \"C1-../../x.htm\" is not written: that "
                                  "file name would leave the output folder.\n"),
            std::string::npos)
      << c->sink.messages;
}

TEST_F(CompileDriverTest, SplitZeroWritesOneFileModuleByModule) {
  auto c = compilation("$SPLIT$ 0\n");
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  EXPECT_EQ(fileNames(dir.path("out")), "Proj.htm");
  EXPECT_EQ(lines(dir.read("out/Proj.htm")),
            "project Proj in " + dir.path("out") +
                "|title|contents: Go Method Load Method Zap Method|"
                "form Form1|method Load|method Zap|object C1|method Go|"
                "property Size|module M1|function F|"
                "index: C1 object F function Form1 form Go method Load method "
                "M1 module Size property Zap method|");
}

TEST_F(CompileDriverTest, FormsOffLeavesTheFormPageButNotItsMembers) {
  auto c = compilation("");
  c->settings.comForm = false;
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  EXPECT_FALSE(dir.exists("out/Form1.htm"));
  EXPECT_TRUE(dir.exists("out/Form1-Load.htm"));
  EXPECT_TRUE(dir.exists("out/Form1-Zap.htm"));
}

TEST_F(CompileDriverTest, CancelKeepsThePagesWrittenAndRunsNothingAfter) {
  auto c = compilation("$SPLIT$ 0\n");
  c->sink.abortAtStatus = "Compiling: C1";
  EXPECT_FALSE(c->driver->compile(*c->vbe));
  // The one file is checked before each module: the module under way is
  // finished with its members, then the run stops: no further module, no
  // index, no after-compile commands.
  EXPECT_EQ(lines(dir.read("out/Proj.htm")),
            "project Proj in " + dir.path("out") +
                "|title|contents: Go Method Load Method Zap Method|"
                "form Form1|method Load|method Zap|object C1|method Go|"
                "property Size|");
  EXPECT_EQ(c->sink.messages, "Project: Proj\n");
  EXPECT_TRUE(c->elements.all.empty());
  EXPECT_EQ(c->engine.src.size(), 0u);
}

// The last page cannot be written (a folder stands in its place) and the
// prompt is cancelled: the pages before it stay, and nothing runs after.
TEST_F(CompileDriverTest, AbandoningTheLastPageRunsNothingAfter) {
  auto c = compilation("");
  fs::create_directories(dir.path("out/M1-F.htm"));
  EXPECT_FALSE(c->driver->compile(*c->vbe));
  EXPECT_EQ(dir.read("out/M1.htm"), "module M1;");
  EXPECT_NE(c->box.shown.find("Error saving " + dir.path("out/M1-F.htm")),
            std::string::npos)
      << c->box.shown;
  EXPECT_EQ(c->sink.messages, "Project: Proj\n");
}

TEST_F(CompileDriverTest, HelpNumbersAndTheHelpFileAreWrittenWhenAskedFor) {
  auto c = compilation("");
  c->settings.comContextID = true;
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  EXPECT_TRUE(c->vbe->saveChanged().empty());
  std::string project = dir.read("Proj.vbp");
  EXPECT_NE(project.find("HelpFile=\"" + dir.path("out") + "/Proj.hhp\""),
            std::string::npos)
      << project;
  EXPECT_NE(dir.read("C1.cls").find("Attribute Go.VB_HelpID = "),
            std::string::npos);
}

TEST_F(CompileDriverTest, AGroupCompileWritesTheGroupFilesFirst) {
  auto c = compilation("");
  c->progress.compileGroup = true;
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  // "PROJECT-NAME" is not set yet while the group files are expanded.
  EXPECT_EQ(dir.read("out/Group+.hhp"), "group $PROJECT-NAME$:Proj,;");
  EXPECT_EQ(dir.read("out/Group+.hhc"), "group contents;");
}

TEST_F(CompileDriverTest, TheOneFileOfAGroupTakesTheProjectExtension) {
  // A dollar sign in the folder reaches the page once.
  fs::create_directories(dir.path("out$1"));
  Compilation c(dir.path("Proj.vbp"), templateText("$SPLIT$ 0\n"),
                dir.path("out$1"));
  c.progress.compileGroup = true;
  EXPECT_TRUE(c.driver->compile(*c.vbe));
  EXPECT_FALSE(dir.exists("out$1/Proj.htm"));
  EXPECT_EQ(dir.read("out$1/Group+.hhp"),
            "group $PROJECT-NAME$:Proj,;group contents;");
  EXPECT_EQ(dir.read("out$1/Proj.hhp").substr(0, 16), "project Proj in ");
  EXPECT_NE(dir.read("out$1/Proj.hhp").find(dir.path("out$1") + ";title;"),
            std::string::npos);
}

// Pages that show where their links lead: the index names each page's
// file when the compile had to give it another, and a member page its
// module's page and its own.
const char kLinkTemplate[] =
    "$MEMBER-EXT$ .htm\n$PROJECT-EXT$ .htm\n$CONTENTS-EXT$ .hhc\n"
    "$INDEX-EXT$ .hhk\n"
    "$scriv-project-body$\nproject $PROJECT-NAME$;\n$end-scriv-project-body$\n"
    "$scriv-index-body$\n$DOLIST$ $INDEX-LINK-LIST$\n"
    "$LIST-ITEM-LABEL$=$LIST-ITEM-FILE$;$END-DOLIST$\n"
    "$end-scriv-index-body$\n"
    "$scriv-object-body$\nobject $MEMBER-NAME$ $MEMBER-FILE$ "
    "$MEMBER-MODULE-FILE$;\n$end-scriv-object-body$\n"
    "$scriv-method-body$\nmethod $MEMBER-NAME$ $MEMBER-FILE$ "
    "$MEMBER-MODULE-FILE$;\n$end-scriv-method-body$\n";

// The project file comes first and keeps its name; the class of the same
// name (letter case aside, as Windows and macOS compare file names) gets
// the next free one, and every link follows it.
TEST_F(CompileDriverTest, APageNamedLikeAnEarlierOneGetsANameOfItsOwn) {
  dir.write("c1.vbp", crlf({"Type=Exe", "Class=C1; C1.cls", "Name=\"c1\""}));
  dir.write("C1.cls", classFile("C1", crlf({"Option Explicit", "'**",
                                            "' A class.", "'**", "' Goes.",
                                            "Public Sub Go()", "End Sub"})));
  dir.write("out/C1-2.htm", "left from an earlier run");
  Compilation c(dir.path("c1.vbp"), kLinkTemplate, dir.path("out"));
  EXPECT_TRUE(c.driver->compile(*c.vbe));
  EXPECT_EQ(fileNames(dir.path("out")),
            "C1-2.htm C1-Go.htm c1+title.htm c1.hhc c1.hhk c1.htm");
  EXPECT_EQ(dir.read("out/c1.htm"), "project c1;");
  EXPECT_EQ(dir.read("out/C1-2.htm"), "object C1 C1-2 C1-2.htm;");
  EXPECT_EQ(dir.read("out/C1-Go.htm"), "method Go C1-Go C1-2.htm;");
  EXPECT_EQ(dir.read("out/c1.hhk"), "C1 object=C1-2.htm;Go method=;");
  EXPECT_EQ(c.sink.messages,
            "Project: c1\n"
            "WARNING: \"C1.htm\" is the name of a page written before "
            "(\"c1.htm\", letter case aside); this page is written as "
            "\"C1-2.htm\".\n");
}

// A legal member name of 255 characters: its page name is shortened the
// same way on every run, within the file system's 255 bytes.
TEST_F(CompileDriverTest, AnOverlongPageNameIsShortenedAndLinksFollow) {
  const std::string name = "L" + std::string(254, 'o');
  dir.write("Proj.vbp", crlf({"Type=Exe", "Class=C1; C1.cls", "Name=\"Proj\""}));
  dir.write("C1.cls", classFile("C1", crlf({"Option Explicit", "'**", "' Long.",
                                            "Public Sub " + name + "()",
                                            "End Sub"})));
  auto c = std::make_unique<Compilation>(dir.path("Proj.vbp"), kLinkTemplate,
                                         dir.path("out"));
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  const std::string shortened = fittingStem("C1-" + name, ".htm") + ".htm";
  EXPECT_EQ(shortened.size(), 247u);
  EXPECT_EQ(shortened.substr(0, 230), "C1-L" + std::string(226, 'o'));
  EXPECT_EQ(fileNames(dir.path("out")),
            shortened + " C1.htm Proj+title.htm Proj.hhc Proj.hhk Proj.htm");
  EXPECT_EQ(dir.read("out/" + shortened),
            "method " + name + " " + shortened.substr(0, 243) + " C1.htm;");
  EXPECT_EQ(dir.read("out/Proj.hhk"),
            "C1 object=;" + name + " method=" + shortened + ";");
  EXPECT_EQ(c->sink.messages,
            "Project: Proj\nWARNING: \"C1-" + name +
                ".htm\" is too long for a file name; the page is written as \"" +
                shortened + "\".\n");
  // The same name on the next run.
  c = std::make_unique<Compilation>(dir.path("Proj.vbp"), kLinkTemplate,
                                    dir.path("out"));
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  EXPECT_EQ(fileNames(dir.path("out")),
            shortened + " C1.htm Proj+title.htm Proj.hhc Proj.hhk Proj.htm");
}

TEST(OutputFile, JoinsFolderAndNameWithOneSeparator) {
  EXPECT_EQ(CompileDriver::outputFile("/doc/", "Calc.htm"), "/doc/Calc.htm");
  EXPECT_EQ(CompileDriver::outputFile("/doc", "Calc.htm"), "/doc/Calc.htm");
  EXPECT_EQ(CompileDriver::outputFile("", "Calc.htm"), "Calc.htm");
}

// A template that asks for UTF-8 gets its files' text converted from the
// project's code page as they are written; file names stay as the project
// spells them, and the pages say which charset they are in.
TEST_F(CompileDriverTest, Utf8OutputConvertsTheTextButNotTheFileNames) {
  dir.write("Form1.frm",
            formFile("Form1", crlf({"Option Explicit", "'**", "' Caf\xE9 cr\xE8me.",
                                    "Public Sub Z\xE4p()", "End Sub"})));
  std::string text = replaceAll(templateText("$OUTPUT-ENCODING$ utf-8\n"),
                                "method $MEMBER-NAME$;",
                                "method $MEMBER-NAME$: $MEMBER-DESCRIPTION$ "
                                "($OUTPUT-CHARSET$);");
  auto c = std::make_unique<Compilation>(dir.path("Proj.vbp"), text,
                                         dir.path("out") + "/");
  EXPECT_TRUE(c->driver->compile(*c->vbe));
  EXPECT_EQ(dir.read("out/Form1-Z\xE4p.htm"),
            "method Z\xC3\xA4p:  Caf\xC3\xA9 cr\xC3\xA8me.\r\n (utf-8);");

  // Without the setting, the bytes are written as they are, in the code
  // page of the settings.
  std::string ansi = replaceAll(templateText(""), "method $MEMBER-NAME$;",
                                "method $MEMBER-NAME$ ($OUTPUT-CHARSET$);");
  auto c2 = std::make_unique<Compilation>(dir.path("Proj.vbp"), ansi,
                                          dir.path("out") + "/");
  c2->settings.codePage = 1251;
  EXPECT_TRUE(c2->driver->compile(*c2->vbe));
  EXPECT_EQ(dir.read("out/Form1-Z\xE4p.htm"), "method Z\xE4p (windows-1251);");
}

}  // namespace
}  // namespace scrivlet
