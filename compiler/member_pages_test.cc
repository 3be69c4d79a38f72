#include "compiler/member_pages.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "compiler/disk_project_test_util.h"

namespace scrivlet {
namespace {

// Every body shows which section was chosen and the values that matter.
const char kTemplate[] =
    "$EOL$ /\n"
    "$scriv-function-body$\n"
    "function $MEMBER-NAME$|$MEMBER-DECLARATION$|$MEMBER-RETURN$|"
    "$MEMBER-SOURCECODE$|$MEMBER-OWNER$|$MEMBER-USER1$\n"
    "$end-scriv-function-body$\n"
    "$scriv-method-body$\n"
    "method $MEMBER-NAME$|$MEMBER-NEEDS-MODULE$|$MEMBER-SOURCECODE$\n"
    "$end-scriv-method-body$\n"
    "$scriv-property-body$\n"
    "property $MEMBER-NAME$|$MEMBER-RETURN$|$MEMBER-SOURCECODE$\n"
    "$end-scriv-property-body$\n"
    "$scriv-object-body$\n"
    "object $MEMBER-NAME$|$MEMBER-FILE$|$MEMBER-PUBLIC$$MEMBER-PRIVATE$"
    "$MEMBER-FRIEND$|$MEMBER-DECLARATION$\n"
    "$end-scriv-object-body$\n";

class MemberPagesTest : public ::testing::Test {
 protected:
  MemberPagesTest() {
    dir.write("Proj.vbp",
              crlf({"Type=Exe", "Module=Util; Util.bas", "Class=Shape; Shape.cls",
                    "Class=Pen; Pen.cls", "Name=\"Proj\""}));
    dir.write("Util.bas",
              moduleFile("Util", crlf({"Option Explicit",
                                       "'**",
                                       "' Formats a price.",
                                       "'@return The text.",
                                       "'@owner Ann",
                                       "'@includesource yes",
                                       "Public Function Price$(ByVal x As Long)",
                                       "  Price = \"$\" & x",
                                       "End Function",
                                       "'**",
                                       "' Draws.",
                                       "Public Sub Draw()",
                                       "End Sub"})));
    dir.write("Shape.cls",
              classFile("Shape", crlf({"Option Explicit",
                                       "'**",
                                       "' The width,",
                                       "' in pixels.$EOL$Never negative.",
                                       "'@return The width.",
                                       "Public Property Get Width() As Long",
                                       "End Property",
                                       "",
                                       "Public Property Let Width(ByVal w As Long)",
                                       "End Property",
                                       "'**",
                                       "' Draws.",
                                       "Public Sub Draw()",
                                       "End Sub"})));
    dir.write("Pen.cls", classFile("Pen", crlf({"Option Explicit",
                                                "'**",
                                                "' Draws.",
                                                "Public Sub Draw()",
                                                "End Sub"})));
  }

  std::unique_ptr<Compilation> prepared(int insertSource,
                                        bool writeDescription = false) {
    auto c = std::make_unique<Compilation>(dir.path("Proj.vbp"), kTemplate,
                                           dir.path("out"));
    c->settings.insertSourceGlobal = static_cast<std::int16_t>(insertSource);
    c->settings.comWriteDescription = writeDescription;
    c->settings.userName[0] = "owner";
    c->driver->prepare(*c->vbe);
    return c;
  }
  std::string page(Compilation& c, const std::string& link) {
    return c.driver->compilePage(*c.elements.all.find(link));
  }

  ScratchFolder dir;
};

TEST_F(MemberPagesTest, TheModuleKindChoosesTheBodyAndNamesTellModulesApart) {
  auto c = prepared(2);
  // A dollar sign in a declaration shows once; source is included only
  // where the comment asks for it.
  EXPECT_EQ(page(*c, "Util.Price"),
            "function Price|Public Function Price$(ByVal x As Long)|The text.|"
            "Public Function Price$(ByVal x As Long)/  Price = \"$\" & x/"
            "End Function|Ann|Ann");
  EXPECT_EQ(page(*c, "Util.Draw"), "function Draw|Public Sub Draw()||||");
  // Two classes with Draw need their module names; the standard module's
  // Draw is of another class of module.
  EXPECT_EQ(page(*c, "Shape.Draw"), "method Draw|1|");
  EXPECT_EQ(page(*c, "Pen.Draw"), "method Draw|1|");
  EXPECT_FALSE(c->element("Util.Draw").needsModule);
  EXPECT_EQ(page(*c, "Shape"), "object Shape|Shape-Shape||");
}

// Which elements named alike need their module names: methods among the
// same sort of module, events of classes, property procedures of other
// modules, variables and constants of any module; none when the two share
// their documentation.
TEST(NeedsModuleName, RivalsOfEachKindUnlessTheyShareDocumentation) {
  ScratchFolder dir;
  dir.write("P.vbp", crlf({"Type=Exe", "Module=Util; Util.bas",
                           "Module=Tools; Tools.bas", "Class=Shape; Shape.cls",
                           "Class=Pen; Pen.cls", "Name=\"P\""}));
  dir.write("Util.bas",
            moduleFile("Util", crlf({"'**", "' The sum.", "Public Total As Long",
                                     "'**", "' The most.", "Public Const LIMIT = 1",
                                     "'**", "' Goes.", "Public Sub Go()", "End Sub",
                                     "Public Sub Draw()", "End Sub"})));
  dir.write("Tools.bas",
            moduleFile("Tools", crlf({"'**", "' A count.", "Public Total As Long",
                                      "'**", "'@same Util.LIMIT",
                                      "Public Const LIMIT = 2", "'**",
                                      "'@same Util.Go", "Public Sub Go()",
                                      "End Sub"})));
  for (const char* name : {"Shape", "Pen"})
    dir.write(std::string(name) + ".cls",
              classFile(name, crlf({"Public Event Changed()", "'**",
                                    std::string("' ") + name + " draws.",
                                    "Public Sub Draw()", "End Sub",
                                    "Public Property Get Size() As Long",
                                    "End Property",
                                    "Public Property Let Size(ByVal v As Long)",
                                    "End Property"})));
  Compilation c(dir.path("P.vbp"), kTemplate, dir.path("out"));
  c.settings.comStdModule = c.settings.comVariable = c.settings.comConstant =
      true;
  c.driver->prepare(*c.vbe);
  std::string needing;
  for (const auto& entry : c.elements.all)
    if (entry.item->needsModule) needing += entry.key + " ";
  EXPECT_EQ(needing,
            "Util.Total Tools.Total Shape.Changed Shape.Draw Shape.Size'let "
            "Shape.Size'get Pen.Changed Pen.Draw Pen.Size'let Pen.Size'get ");
}

TEST_F(MemberPagesTest, APropertyPageShowsAllItsProceduresAndNoReturnWhenWritable) {
  auto c = prepared(1);
  EXPECT_EQ(page(*c, "Shape.Width'get"),
            "property Width||Public Property Get Width() As Long/End Property"
            "//Public Property Let Width(ByVal w As Long)/End Property");
  EXPECT_EQ(getSourceCode(c->element("Shape.Draw"), c->driver->preparation()),
            "Public Sub Draw()\rEnd Sub");
}

TEST_F(MemberPagesTest, DescriptionsAreWrittenBackKeepingTheHelpNumber) {
  EXPECT_EQ(descriptionForHost("Adds two\rnumbers.$EOL$Fast.\r"),
            "Adds two numbers.\r\nFast.");
  auto c = prepared(0, true);
  Member& width = *c->element("Shape.Width'get").member;
  width.setHelpContextID(42);
  page(*c, "Shape.Width'get");
  // The continuation keeps its leading blank; the file format holds no line
  // break inside a description, so the disk host stores the break as a
  // space.
  EXPECT_EQ(width.Description(), " The width,  in pixels. Never negative.");
  EXPECT_EQ(width.HelpContextID(), 42);
}

TEST(LineRangeText, DropsEmptyLinesBeforeTheFirstText) {
  ScratchFolder dir;
  dir.write("P.vbp", crlf({"Type=Exe", "Module=M; M.bas"}));
  dir.write("M.bas", moduleFile("M", crlf({"", "", "a", "", "b"})));
  auto vbe = openProject(dir.path("P.vbp"));
  const CodeModule& module =
      *vbe->ActiveVBProject()->VBComponents()[0]->CodeModule();
  EXPECT_EQ(lineRangeText(module, 1, 5), "a\r\rb");
}

// A summary ends at the first sentence, line break or code example, in one
// line; "1.5" and "e.g." inside a word do not end it.
TEST(FirstSentence, EndsAtTheFirstSentenceOrBreak) {
  EXPECT_EQ(firstSentence("Adds two\rnumbers. Fast."), "Adds two numbers.");
  EXPECT_EQ(firstSentence("Scales by 1.5 times!\rMore."), "Scales by 1.5 times!");
  EXPECT_EQ(firstSentence("First line$EOL$second line."), "First line");
  EXPECT_EQ(firstSentence("Runs\r\rAnother paragraph."), "Runs");
  EXPECT_EQ(firstSentence("Shows$CODE$x = 1$END-CODE$"), "Shows");
  EXPECT_EQ(firstSentence("  Is it? Yes.\r"), "Is it?");
  EXPECT_EQ(firstSentence("No end"), "No end");
  EXPECT_EQ(firstSentence(""), "");
}

// A "See also" link that leads nowhere and has no text of its own is left
// out of the list (reported once), so a heading over the list has
// something under it; a member page knows whether its module has a page.
TEST_F(MemberPagesTest, ListsKeepWhatShowsAndPagesKnowTheirModulesPage) {
  dir.write("Pen.cls", classFile("Pen", crlf({"Option Explicit", "'**",
                                              "' Draws.", "'@see Gone",
                                              "'@see Shape.Draw",
                                              "'@see Lost the lost one",
                                              "Public Sub Draw()", "End Sub"})));
  const char text[] =
      "$scriv-method-body$\n"
      "method [$MEMBER-MODULE-PAGE$]$DOLIST$ $SEE-LINK-LIST$\n"
      " $LIST-ITEM-LABEL$$END-DOLIST$\n"
      "$end-scriv-method-body$\n"
      "$scriv-function-body$\nfunction [$MEMBER-MODULE-PAGE$]\n"
      "$end-scriv-function-body$\n";
  for (bool modulePages : {false, true}) {
    Compilation c(dir.path("Proj.vbp"), text, dir.path("out"));
    c.settings.comStdModule = modulePages;
    c.driver->prepare(*c.vbe);
    EXPECT_EQ(c.driver->compilePage(*c.elements.all.find("Pen.Draw")),
              "method [1] Draw (Shape) the lost one");
    EXPECT_EQ(c.driver->compilePage(*c.elements.all.find("Util.Draw")),
              modulePages ? "function [1]" : "function []");
    const std::string& said = c.sink.messages;
    EXPECT_EQ(said.find("dead link 'Gone'"), said.rfind("dead link 'Gone'"));
    EXPECT_NE(said.find("dead link 'Gone'"), std::string::npos) << said;
  }
}

}  // namespace
}  // namespace scrivlet
