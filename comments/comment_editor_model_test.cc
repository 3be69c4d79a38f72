#include "comments/comment_editor_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/file_system.h"
#include "base/progress.h"
#include "comments/comment_editor_options.h"
#include "comments/comment_generator.h"
#include "platform/disk_code_module.h"
#include "source/crlf_test_util.h"
#include "source/source_lines.h"

namespace scrivlet {
namespace {

class RecordingMessageBox : public MessageBox {
 public:
  MessageAnswer show(const std::string& title, const std::string& text,
                     MessageButtons buttons, MessageIcon icon) override {
    shown += title + "|" + text + "|" + std::to_string(static_cast<int>(icon)) +
             "\n";
    return cancellingAnswer(buttons);
  }
  std::string shown;
};

// A project of modules made from text, as much as the type relationships
// read of it.
class TextProject : public VBProject {
 public:
  void add(int type, const std::string& name) {
    modules_.push_back(DiskCodeModule::fromText(name, type, ""));
  }
  std::string Name() const override { return "Project1"; }
  std::string FileName() const override { return ""; }
  std::vector<VBComponent*> VBComponents() const override {
    std::vector<VBComponent*> list;
    for (const auto& m : modules_) list.push_back(m->Parent());
    return list;
  }
  std::string HelpFile() const override { return ""; }
  void setHelpFile(const std::string&) override {}
  std::string Description() const override { return ""; }
  long HelpContextID() const override { return 0; }

 private:
  std::vector<std::unique_ptr<DiskCodeModule>> modules_;
};

class TextVBE : public VBE {
 public:
  explicit TextVBE(VBProject* project) : project_(project) {}
  VBProject* ActiveVBProject() const override { return project_; }
  void setActiveVBProject(VBProject* project) override { project_ = project; }
  std::vector<VBProject*> VBProjects() const override { return {project_}; }
  scrivlet::CodePane* ActiveCodePane() const override { return nullptr; }

 private:
  VBProject* project_;
};

const std::string kCalc = crlf({
    "Option Explicit",
    "",
    "'**",
    "' Adds two numbers.",
    "'@param        a Required. Long. The first.",
    "'@param        b Required. Long. The second.",
    "'@return       Long. The sum.",
    "",
    "Public Function Add(ByVal a As Long, ByVal b As Long) As Long",
    "    Add = a + b",
    "End Function",
    "",
    "Public Sub Reset(ByVal s As Stats)",
    "    Dim shape As IShape",
    "End Sub",
});

TEST(CommentEditor, EditApplyReopenAndApplyAgain) {
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc);
  ProjectSettings settings;
  CommentEditorModel editor(settings);
  // With a selection in the code window there is nothing to edit.
  module->CodePane()->SetSelection(10, 1, 10, 5);
  EXPECT_FALSE(editor.openAtCaret(*module->CodePane()));
  EXPECT_FALSE(editor.element());
  module->CodePane()->SetSelection(10, 5, 10, 5);
  ASSERT_TRUE(editor.openAtCaret(*module->CodePane()));
  ASSERT_TRUE(editor.element());
  EXPECT_EQ(editor.caption(), "Add - Scrivlet Comment Editor");
  EXPECT_TRUE(editor.parametersEnabled());
  EXPECT_TRUE(editor.hadComment);
  EXPECT_EQ(editor.description, " Adds two numbers.");
  ASSERT_EQ(editor.params.size(), 2u);
  EXPECT_EQ(editor.selectedParameter(), 0);
  EXPECT_EQ(editor.parameterDescription(), "Required. Long. The first.");
  EXPECT_EQ(editor.returnText, "Long. The sum.");

  editor.description += "\r\n Overflows above 2^31.";
  editor.selectParameter(1);
  editor.setParameterDescription("Required. Long. The second one.");
  editor.revision = "7";
  editor.author = "Ann";
  editor.version = "1.2";
  editor.seeAlso.linkBox = "Calc.Reset";
  EXPECT_TRUE(editor.seeAlso.add());
  int saves = 0;
  editor.apply([&] { ++saves; });
  EXPECT_EQ(saves, 1);

  // The blank line that stood between the old block and the declaration is
  // now above the new block; the editor writes author, version, revision.
  const std::string expected = crlf({
      "Option Explicit",
      "",
      "",
      "'**",
      "' Adds two numbers.",
      "' Overflows above 2^31.",
      "'@param        a Required. Long. The first.",
      "'@param        b Required. Long. The second one.",
      "'@return       Long. The sum.",
      "'@author       Ann",
      "'@version      1.2",
      "'@revision     7",
      "'@see          Calc.Reset ",
      "Public Function Add(ByVal a As Long, ByVal b As Long) As Long",
      "    Add = a + b",
      "End Function",
      "",
      "Public Sub Reset(ByVal s As Stats)",
      "    Dim shape As IShape",
      "End Sub",
  });
  EXPECT_EQ(module->toBytes(), expected);
  // The caret waits just after the description line's apostrophe.
  long line = 0, column = 0, endLine = 0, endColumn = 0;
  module->CodePane()->GetSelection(line, column, endLine, endColumn);
  EXPECT_EQ(std::to_string(line) + "," + std::to_string(column) + "," +
                std::to_string(endLine) + "," + std::to_string(endColumn),
            "5,2,5,2");

  // A second Apply replaces the block it wrote.
  editor.apply();
  EXPECT_EQ(module->toBytes(), expected);

  CommentEditorModel again(settings);
  again.openAtLine(*module, 19);  // inside Reset: no comment
  EXPECT_EQ(again.element()->name(), "Reset");
  EXPECT_FALSE(again.hadComment);
  again.openAtLine(*module, 15);
  EXPECT_EQ(again.element()->name(), "Add");
  EXPECT_EQ(again.description, " Adds two numbers.\r\n Overflows above 2^31.");
  EXPECT_EQ(again.seeAlso.entries, std::vector<std::string>{"Calc.Reset"});
  EXPECT_EQ(again.author + again.version + again.revision, "Ann1.27");
  again.apply();
  EXPECT_EQ(module->toBytes(), expected);
}

TEST(CommentEditor, UncommentedMemberStartsFromItsSkeleton) {
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc);
  ProjectSettings settings;
  settings.addAuthor = true;
  settings.userDefault[0] = "none";
  settings.addUser[0] = true;
  CommentEditorModel editor(settings);
  editor.openAtLine(*module, 13);
  EXPECT_EQ(editor.element()->name(), "Reset");
  EXPECT_FALSE(editor.hadComment);
  EXPECT_EQ(editor.skeleton,
            (std::vector<std::string>{"", "@param        s Required. Stats object.",
                                      "@see          ", "@rem          ",
                                      "@author       ", "@user1        none"}));
  EXPECT_EQ(editor.description, "");
  EXPECT_EQ(editor.params[0].description, "Required. Stats object.");
  EXPECT_EQ(editor.user[0], "none");
  EXPECT_TRUE(editor.seeAlso.entries.empty());
  // Nothing is written until Apply.
  EXPECT_EQ(module->toBytes(), kCalc);

  // Empty description and empty tags write no line at all.
  editor.apply();
  std::string expected = kCalc;
  expected.insert(expected.find("Public Sub Reset"),
                  crlf({"'**", "'@param        s Required. Stats object.",
                        "'@user1        none"}));
  EXPECT_EQ(module->toBytes(), expected);
}

// An Enum or Type block is documented like a module: a description and
// links, above its first line; its comment is read and written there.
TEST(CommentEditor, EnumAndTypeBlocks) {
  const std::string text = crlf({
      "Option Explicit",
      "'**",
      "' Pen colours.",
      "Public Enum Colour",
      "    cRed = 1",
      "End Enum",
      "Private Type Point",
      "    x As Long",
      "End Type",
  });
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, text);
  ProjectSettings settings;
  CommentEditorModel editor(settings);
  editor.openAtLine(*module, 8);
  ASSERT_TRUE(editor.element());
  EXPECT_STREQ(editor.element()->className(), "Stype");
  EXPECT_EQ(editor.element()->canonicalLink(), "Calc.Point");
  EXPECT_FALSE(editor.hadComment);
  EXPECT_EQ(editor.skeleton, (std::vector<std::string>{"", "@see"}));
  editor.description = "A point.";
  editor.apply();
  std::string expected = text;
  expected.insert(expected.find("Private Type Point"),
                  crlf({"'**", "'A point."}));
  EXPECT_EQ(module->toBytes(), expected);

  editor.openAtLine(*module, 5);
  EXPECT_STREQ(editor.element()->className(), "Senum");
  EXPECT_TRUE(editor.hadComment);
  EXPECT_EQ(editor.description, " Pen colours.");

  // The command inserts the skeleton above the block's first line.
  auto again = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, text);
  addComment(*elementAtLine(*again, 9), settings);
  expected = text;
  expected.insert(expected.find("Private Type Point"),
                  crlf({"'**", "'", "'@see"}));
  EXPECT_EQ(again->toBytes(), expected);
}

TEST(CommentEditor, UpdateFollowsTheDeclaration) {
  const std::string text = crlf({
      "    '**",
      "    ' Finds an item.",
      "    '@param        index Required. Long. The index.",
      "    '@param        gone Required. String. Removed later.",
      "    '@set          gone vbA 1 First.",
      "    '@set          index vbB 2 Second.",
      "    '@return       Long. Position.",
      "    Public Function Find(ByVal index As Integer, _",
      "        Optional ByVal start As Long = 1) As Long",
      "    End Function",
  });
  const std::string updated = crlf({
      "    '**",
      "    ' Finds an item.",
      "    '@param        index Required. Integer. The index.",
      "    '@param        start Optional. Long. Default value is 1.",
      "    '@set          index vbB 2 Second.",
      "    '@return       Long. Position.",
      "    Public Function Find(ByVal index As Integer, _",
      "        Optional ByVal start As Long = 1) As Long",
      "    End Function",
  });
  ProjectSettings settings;
  {
    auto module = DiskCodeModule::fromText("Items", vbext_ct_ClassModule, text);
    CommentEditorModel editor(settings);
    editor.openAtLine(*module, 9);
    EXPECT_EQ(editor.settingsGroups[0].size(), 1u);
    editor.update();
    EXPECT_EQ(editor.selectedParameter(), 0);
    EXPECT_EQ(editor.returnText, "Long. Position.");
    editor.apply();
    EXPECT_EQ(module->toBytes(), updated);
  }
  {
    // "Update on startup" does the same as soon as the editor opens.
    auto module = DiskCodeModule::fromText("Items", vbext_ct_ClassModule, text);
    CommentEditorModel editor(settings);
    editor.setUpdateOnStartup(true);
    EXPECT_EQ(settings.autoUpdateParams, 1);
    editor.openAtLine(*module, 8);
    EXPECT_EQ(editor.params[1].name, "start");
    editor.apply();
    EXPECT_EQ(module->toBytes(), updated);
  }
  {
    // Without parameters or return in the skeleton, Update clears them.
    settings.autoUpdateParams = 0;
    settings.addParam = false;
    settings.addReturn = false;
    auto module = DiskCodeModule::fromText("Items", vbext_ct_ClassModule, text);
    CommentEditorModel editor(settings);
    editor.openAtLine(*module, 8);
    editor.update();
    EXPECT_TRUE(editor.params.empty());
    EXPECT_EQ(editor.selectedParameter(), -1);
    EXPECT_EQ(editor.returnText, "");
    EXPECT_TRUE(editor.settingsGroups[0].empty());
  }
}

TEST(CommentEditor, RepeatedUpdateKeepsOneTypeSentence) {
  auto module = DiskCodeModule::fromText(
      "Shape", vbext_ct_ClassModule,
      crlf({"'**", "'@param        v Long. New width.", "'@param        w Wide.",
            "'@param        p() ParamArray, comma-delimited list of Variant values.",
            "Public Property Let Width(ByVal v As Single, w As Form, _",
            "    ParamArray p())",
            "End Property", "'**", "'@param        n Long. Count.",
            "'@param        m The m.",
            "Sub Grow(Optional n As Integer = 2, Optional m As Long)",
            "End Sub"}));
  ProjectSettings settings;
  CommentEditorModel editor(settings);
  for (long line : {5L, 11L}) {
    editor.openAtLine(*module, line);
    editor.update();
    editor.update();
    editor.apply();
  }
  EXPECT_EQ(module->toBytes(),
            crlf({"'**", "'@param        v Single. New width.",
                  "'@param        w Form object. Wide.",
                  "'@param        p() ParamArray, comma-delimited list of Variant values.",
                  "Public Property Let Width(ByVal v As Single, w As Form, _",
                  "    ParamArray p())",
                  "End Property", "'**",
                  "'@param        n Optional. Integer. Default value is 2. Count.",
                  "'@param        m Optional. Long. The m.",
                  "Sub Grow(Optional n As Integer = 2, Optional m As Long)",
                  "End Sub"}));
}

TEST(CommentEditor, LineBreaksUnderBothEOLModes) {
  EXPECT_EQ(toDisplayText("a\rb", 0), "a\r\nb");
  EXPECT_EQ(toDisplayText("a$EOL$\rb\rc$EOL$d", 1), "a\r\nb c\r\nd");
  EXPECT_EQ(toDisplayText("a$EOL$\rb", 0), "a$EOL$\r\nb");
  EXPECT_EQ(toCommentLines("a\r\nb", 0), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(toCommentLines("a\r\nb", 1),
            (std::vector<std::string>{"a$EOL$", "b"}));
  EXPECT_TRUE(toCommentLines("", 0).empty());
  EXPECT_TRUE(toCommentLines("", 1).empty());

  auto module = DiskCodeModule::fromText(
      "M", vbext_ct_StdModule,
      crlf({"'**", "'one", "'@param        x Required. Long. A$EOL$",
            "'  second line", "'@return       Long.", "Function F(x As Long) As Long",
            "End Function"}));
  ProjectSettings settings;
  settings.autoInsertEOL = 1;
  CommentEditorModel editor(settings);
  editor.openAtLine(*module, 6);
  EXPECT_EQ(editor.params[0].description, "Required. Long. A\r\n  second line");
  editor.description = "first\r\nsecond";
  editor.apply();
  EXPECT_EQ(module->toBytes(),
            crlf({"'**", "'first$EOL$", "'second",
                  "'@param        x Required. Long. A$EOL$", "'  second line",
                  "'@return       Long.", "Function F(x As Long) As Long",
                  "End Function"}));
  editor.openAtLine(*module, 7);
  EXPECT_EQ(editor.description, "first\r\nsecond");

  // Without the option, the same comment shows its lines and markers as
  // they are, and writes them back unchanged.
  settings.autoInsertEOL = 0;
  editor.openAtLine(*module, 7);
  EXPECT_EQ(editor.description, "first$EOL$\r\nsecond");
  std::string before = module->toBytes();
  editor.apply();
  EXPECT_EQ(module->toBytes(), before);
}

TEST(CommentEditor, ModuleCommentWrappingAndRanges) {
  auto module = DiskCodeModule::fromText(
      "Calc", vbext_ct_StdModule,
      crlf({"", "'**", "' The calculator.", "'@see          Calc.Add", "",
            "'**", "' Lonely.", "Option Explicit"}));
  long start = 0, end = 0;
  ASSERT_TRUE(getModuleCommentRange(*module, start, end));
  EXPECT_EQ(start * 100 + end, 204);

  ProjectSettings settings;
  settings.wordWrapLength = 30;
  CommentEditorModel editor(settings);
  editor.openAtLine(*module, 8);
  EXPECT_EQ(editor.element()->kind(), ElementKind::Smodule);
  EXPECT_FALSE(editor.parametersEnabled());
  EXPECT_EQ(editor.description, " The calculator.");
  editor.remarks = "Keeps no state between calls, so any caller may use it.";
  EXPECT_EQ(editor.sourceCodeView(),
            "'**\r\n' The calculator.\r\n'@rem          Keeps no state\r\n"
            "'between calls, so any caller\r\n'may use it.\r\n"
            "'@see          Calc.Add ");
  editor.apply();
  EXPECT_EQ(module->toBytes(),
            crlf({"'**", "' The calculator.", "'@rem          Keeps no state",
                  "'between calls, so any caller", "'may use it.",
                  "'@see          Calc.Add ", "", "", "'**", "' Lonely.",
                  "Option Explicit"}));
  editor.openAtLine(*module, 11);
  EXPECT_EQ(editor.remarks,
            "Keeps no state\r\nbetween calls, so any caller\r\nmay use it.");

  // Emptying every field leaves the opener alone, and the next Apply
  // replaces that too.
  editor.description.clear();
  editor.remarks.clear();
  editor.seeAlso.click(0);
  editor.seeAlso.remove();
  editor.apply();
  editor.apply();
  EXPECT_EQ(module->toBytes(),
            crlf({"'**", "", "", "'**", "' Lonely.", "Option Explicit"}));
}

TEST(CommentEditor, LinkListsAndInterestingReferences) {
  LinkListModel list;
  list.linkBox = "  ";
  EXPECT_FALSE(list.add());
  list.linkBox = "Calc.Add";
  list.labelBox = "adding";
  list.add();
  list.linkBox = "Calc.Reset";
  list.labelBox = "";
  list.add();
  list.addPicked("Stats.Count'get");
  list.addPicked("");
  EXPECT_EQ(list.entries, (std::vector<std::string>{"Calc.Add [adding]",
                                                    "Calc.Reset",
                                                    "Stats.Count'get"}));
  EXPECT_EQ(list.selected, 2);
  list.click(0);
  EXPECT_EQ(list.linkBox + "|" + list.labelBox, "Calc.Add|adding");
  list.remove();
  EXPECT_EQ(list.linkBox, "Calc.Reset");
  list.click(1);
  list.remove();  // the last entry: the one before is selected
  EXPECT_EQ(list.selected, 0);
  list.remove();
  EXPECT_FALSE(list.removeEnabled());

  TextProject project;
  project.add(vbext_ct_ClassModule, "Stats");
  project.add(vbext_ct_ClassModule, "IShape");
  project.add(vbext_ct_StdModule, "Helpers");
  TextVBE ide(&project);
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc);
  ProjectSettings settings;
  CommentEditorModel editor(settings);
  editor.openAtLine(*module, 13);
  std::vector<std::string> candidates =
      editor.interestingReferenceCandidates(ide);
  EXPECT_EQ(candidates,
            (std::vector<std::string>{"Stats [used]", "IShape [used]"}));
  editor.seeAlso.entries = {"Stats.Count [counting]"};
  editor.addInterestingReferences(candidates);
  editor.addInterestingReferences({"Helpers [implemented]"});
  EXPECT_EQ(editor.seeAlso.entries,
            (std::vector<std::string>{"Stats.Count [counting]", "IShape",
                                      "Helpers [Helpers [implemented]]"}));
  EXPECT_EQ(editor.composeComment(),
            (std::vector<std::string>{
                "@param        s Required. Stats object.",
                "@see          Stats.Count counting", "@see          IShape ",
                "@see          Helpers Helpers [implemented]"}));
}

TEST(CommentEditor, SettingsGridBelongsToTheSelectedParameter) {
  auto module = DiskCodeModule::fromText(
      "M", vbext_ct_StdModule,
      crlf({"'**", "'@param        a x", "'@set          b vbB 2 Bee.",
            "Sub S(a, b, c, d)", "End Sub"}));
  ProjectSettings settings;
  CommentEditorModel editor(settings);
  editor.openAtLine(*module, 4);
  editor.update();  // a, b, c, d; b keeps its table
  ASSERT_EQ(editor.params.size(), 4u);
  editor.selectParameter(1);
  ASSERT_EQ(editor.gridRows().size(), 1u);
  editor.addGridRow();
  editor.setGridCell(1, 0, "vbC");
  editor.setGridCell(1, 1, "\"a b\"");
  editor.setGridCell(1, 2, "Sea.");
  EXPECT_EQ(editor.gridRowAfterMove(1, 1), 1);
  EXPECT_EQ(editor.gridRowAfterMove(1, -1), 0);
  EXPECT_EQ(editor.gridRowAfterMove(0, -1), 0);
  editor.selectParameter(0);
  EXPECT_TRUE(editor.gridRows().empty());
  editor.addGridRow();
  editor.setGridCell(0, 0, "vbA");
  editor.selectParameter(2);
  editor.addGridRow();
  // Three tables are taken: the fourth parameter cannot get one.
  editor.selectParameter(3);
  EXPECT_FALSE(editor.gridEnabled());
  editor.addGridRow();
  editor.selectParameter(2);
  editor.removeGridRow(0);
  editor.selectParameter(3);
  EXPECT_TRUE(editor.gridEnabled());
  EXPECT_EQ(editor.composeComment(),
            (std::vector<std::string>{
                "@param        a Required. Variant. x",
                "@param        b Required. Variant.",
                "@param        c Required. Variant.",
                "@param        d Required. Variant.",
                "@set          b vbB 2 Bee.",
                "@set          b vbC \"a b\" Sea.",
                "@set          a vbA  "}));
}

TEST(CommentEditor, Options) {
  ProjectSettings settings;
  settings.wordWrapLength = -72;
  CommentEditorOptions options(settings);
  EXPECT_FALSE(options.wordWrap);
  EXPECT_FALSE(options.lengthEnabled());
  EXPECT_EQ(options.lengthText, "72");
  options.wordWrap = true;
  options.lengthText = "900";
  options.leaveLengthBox();
  EXPECT_EQ(options.lengthText, "500");
  options.lengthText = "abc";
  options.showEOLAsNewLine = true;
  options.ok(settings);
  EXPECT_EQ(settings.wordWrapLength, 10);
  EXPECT_EQ(settings.autoInsertEOL, 1);

  settings.wordWrapLength = 3;
  CommentEditorOptions small(settings);
  EXPECT_EQ(small.lengthText, "10");
  small.wordWrap = false;
  small.lengthText = "64";
  small.ok(settings);
  EXPECT_EQ(settings.wordWrapLength, -64);
}

TEST(CommentEditor, ExampleFiles) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / "scrivlet_editor_examples";
  fs::remove_all(folder);
  fs::create_directories(folder / "out");
  ProjectSettings settings;
  settings.outputPath = (folder / "out").string() + "/";
  auto module = DiskCodeModule::fromText("Calc", vbext_ct_StdModule, kCalc);
  CommentEditorModel editor(settings);
  editor.openAtLine(*module, 9);
  EXPECT_EQ(editor.proposedExampleFileName(), "Calc_Add_example.txt");

  DiskFileSystem files;
  RecordingMessageBox box;
  Progress progress;
  FileServices services{files, box, progress};
  std::string inside = (folder / "out" / "Calc_Add_example.txt").string();
  std::string elsewhere = (folder / "ex.txt").string();
  EXPECT_FALSE(editor.createExampleFile("", services));
  ASSERT_TRUE(editor.createExampleFile(inside, services));
  ASSERT_TRUE(editor.createExampleFile(elsewhere, services));
  // A file in a folder that does not exist cannot be written: the link box
  // keeps its text.
  EXPECT_FALSE(editor.createExampleFile((folder / "no" / "x.txt").string(),
                                        services));
  EXPECT_EQ(editor.examples.linkBox, "\"" + elsewhere);
  EXPECT_EQ(editor.examples.entries,
            (std::vector<std::string>{"\"Calc_Add_example.txt",
                                      "\"" + elsewhere}));
  std::ifstream in(inside, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), "Example for Add.");

  editor.examples.click(0);
  EXPECT_EQ(editor.exampleFilePath(), inside);
  settings.outputPath.pop_back();
  EXPECT_EQ(editor.exampleFilePath(), inside);
  editor.examples.click(1);
  EXPECT_EQ(editor.exampleFilePath(), elsewhere);

  std::string opened;
  EXPECT_TRUE(editor.editExample(
      [&](const std::string& f) { opened = f; return true; }, box));
  EXPECT_EQ(opened, elsewhere);
  box.shown.clear();
  EXPECT_FALSE(editor.editExample([](const std::string&) { return false; }, box));
  EXPECT_EQ(box.shown, "Error while opening example.|Cannot show the \"" +
                           elsewhere + "\" file|48\n");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace scrivlet
