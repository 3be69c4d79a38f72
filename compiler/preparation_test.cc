#include "compiler/preparation.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "compiler/disk_project_test_util.h"

namespace scrivlet {
namespace {

std::string visible(const std::string& text) {
  return replaceAll(text, "\r", "/");
}

class PreparationTest : public ::testing::Test {
 protected:
  void writeProject(std::initializer_list<std::string> lines) {
    dir.write("Proj.vbp", crlf({"Type=Exe"}) + crlf(lines) + crlf({"Name=\"Proj\""}));
  }
  std::unique_ptr<Compilation> prepare(bool contextIDs = false,
                                       bool stdModules = false) {
    auto c = std::make_unique<Compilation>(dir.path("Proj.vbp"), "",
                                           dir.path("out"));
    c->settings.comContextID = contextIDs;
    c->settings.comStdModule = stdModules;
    c->driver->prepare(*c->vbe);
    return c;
  }
  ScratchFolder dir;
};

TEST_F(PreparationTest, CommentedGetDocumentsItsUncommentedLet) {
  writeProject({"Class=Shape; Shape.cls"});
  dir.write("Shape.cls",
            classFile("Shape", crlf({"Option Explicit",
                                     "Private mWidth As Long",
                                     "'**",
                                     "' The width.",
                                     "Public Property Get Width() As Long",
                                     "  Width = mWidth",
                                     "End Property",
                                     "",
                                     "Public Property Let Width(ByVal value As Long)",
                                     "  mWidth = value",
                                     "End Property",
                                     "",
                                     "Public Property Get Height() As Long",
                                     "End Property"})));
  auto c = prepare();
  EXPECT_EQ(c->pageKeys(), "Shape Shape.Width'get Shape.Height'get ");
  EXPECT_EQ(c->target("Shape.Width'let"), "Shape.Width'get");

  const Element& get = c->element("Shape.Width'get");
  EXPECT_FALSE(static_cast<const SpropGet&>(get).hasNoLetSet);
  // The Get's comment gains the value parameter it did not document, and
  // the Let shares that very comment.
  EXPECT_EQ(join(get.comment, "|"),
            " The width.|@param        value Long.");
  EXPECT_EQ(c->element("Shape.Width'let").comment, get.comment);
  EXPECT_EQ(visible(join(*c->driver->preparation().getAppliesList(get), "")),
            "Shape/");

  // A lone uncommented Get keeps its own page and stays a read-only property.
  const Element& height = c->element("Shape.Height'get");
  EXPECT_TRUE(static_cast<const SpropGet&>(height).hasNoLetSet);
  EXPECT_EQ(c->target("Shape.Height'get"), "Shape.Height'get");
}

TEST_F(PreparationTest, EveryLinkLeadsToAWrittenPageWhenOnlyTheSetIsCommented) {
  writeProject({"Class=Box; Box.cls"});
  dir.write("Box.cls",
            classFile("Box", crlf({"Public Property Get Item() As Object",
                                   "End Property",
                                   "Public Property Let Item(ByVal v As Variant)",
                                   "End Property",
                                   "'**",
                                   "' The item held.",
                                   "Public Property Set Item(ByVal v As Object)",
                                   "End Property"})));
  auto c = prepare();
  EXPECT_EQ(c->pageKeys(), "Box Box.Item'set ");
  EXPECT_EQ(c->target("Box.Item'get"), "Box.Item'set");
  EXPECT_EQ(c->target("Box.Item'let"), "Box.Item'set");
  EXPECT_EQ(c->element("Box.Item'get").helpID,
            c->element("Box.Item'set").helpID);
}

TEST_F(PreparationTest, SameChainsShareThePageAndCyclesKeepTheirOwn) {
  writeProject({"Class=Ops; Ops.cls"});
  dir.write("Ops.cls", classFile("Ops", crlf({"Option Explicit", "'**",
                                               "'@same .Q",
                                               "Public Sub P()",
                                               "End Sub",
                                               "'**",
                                               "'@same Ops.R",
                                               "Public Sub Q()",
                                               "End Sub",
                                               "'**",
                                               "' R does it.",
                                               "Public Sub R()",
                                               "End Sub",
                                               "'**",
                                               "' S.",
                                               "'@same .T",
                                               "Public Sub S()",
                                               "End Sub",
                                               "'**",
                                               "'@same .S",
                                               "Public Sub T()",
                                               "End Sub",
                                               "'**",
                                               "'@same .Nowhere",
                                               "Public Sub U()",
                                               "End Sub",
                                               "'**",
                                               "' The value.",
                                               "Public Property Get Value() As Long",
                                               "End Property",
                                               "'**",
                                               "'@same Ops.Value'GET",
                                               "Public Sub V()",
                                               "End Sub"})));
  auto c = prepare();
  EXPECT_EQ(c->pageKeys(), "Ops Ops.R Ops.S Ops.T Ops.U Ops.Value'get ");
  // A kind written in capitals is wrong, but the link still finds the Get
  // as written.
  EXPECT_EQ(c->target("Ops.V"), "Ops.Value'get");
  EXPECT_EQ(c->target("Ops.P"), "Ops.R");
  EXPECT_EQ(c->target("Ops.Q"), "Ops.R");
  long r = c->element("Ops.R").helpID;
  EXPECT_EQ(c->element("Ops.P").helpID, r);
  EXPECT_EQ(c->element("Ops.Q").helpID, r);
  EXPECT_EQ(join(c->element("Ops.P").comment, "|"), " R does it.");
  EXPECT_EQ(join(c->element("Ops.S").comment, "|"), " S.|@same .T");
  EXPECT_EQ(join(c->element("Ops.T").comment, "|"), "@same .S");
  EXPECT_EQ(c->sink.messages,
            "Warning: The dead link '.Nowhere' was found in 'U' member of "
            "'Ops' module.\n"
            "Warning: The link 'Ops.Value'GET' in 'V' member of 'Ops' module "
            "contains wrong property type specifier \"'GET\".\n");
  EXPECT_EQ(visible(c->list("INDEX-LINK-LIST")),
            "Ops/Ops object|Ops.R/R method|Ops.S/S method|Ops.T/T method|"
            "Ops.U/U method|Ops.Value'get/Value property|");
}

// A chain of "@same" as long as a generated module may make it: each member
// documented by the one after it, fifty thousand deep. It resolves without
// a stack overflow, and every member shares the last one's page.
TEST_F(PreparationTest, AVeryLongSameChainResolvesToItsEnd) {
  const int last = 50000;
  std::string body = "Option Explicit\r\n";
  for (int i = 0; i < last; ++i)
    body += "'**\r\n'@same .M" + std::to_string(i + 1) + "\r\nPublic Sub M" +
            std::to_string(i) + "()\r\nEnd Sub\r\n";
  body += "'**\r\n' The last.\r\nPublic Sub M" + std::to_string(last) +
          "()\r\nEnd Sub\r\n";
  writeProject({"Class=Long; Long.cls"});
  dir.write("Long.cls", classFile("Long", body));
  auto c = prepare();
  const std::string end = "Long.M" + std::to_string(last);
  EXPECT_EQ(c->pageKeys(), "Long " + end + " ");
  EXPECT_EQ(c->target("Long.M0"), end);
  EXPECT_EQ(join(c->element("Long.M0").comment, "|"), " The last.");
}

TEST_F(PreparationTest, HelpNumbersReachTheCodeOnlyWithContextIDs) {
  writeProject({"Class=Ops; Ops.cls"});
  dir.write("Ops.cls", classFile("Ops", crlf({"'**",
                                               "'@same .R",
                                               "Public Sub P()",
                                               "End Sub",
                                               "'**",
                                               "' R.",
                                               "Public Sub R()",
                                               "End Sub"})));
  auto plain = prepare(false);
  EXPECT_TRUE(plain->vbe->saveChanged().empty());
  EXPECT_EQ(dir.read("Ops.cls").find("VB_HelpID"), std::string::npos);

  auto withIDs = prepare(true);
  long r = withIDs->element("Ops.R").helpID;
  EXPECT_EQ(withIDs->element("Ops.P").member->HelpContextID(), r);
}

TEST_F(PreparationTest, ContentsLabelsNameTheModuleWhenNamesRepeat) {
  writeProject({"Form=Form1.frm", "Form=Form2.frm", "Module=Util; Util.bas",
                "Class=Counter; Counter.cls"});
  std::string refresh = crlf({"'**", "' Redraws.", "Public Sub Refresh()",
                              "End Sub"});
  dir.write("Form1.frm", formFile("Form1", refresh));
  dir.write("Form2.frm", formFile("Form2", refresh));
  dir.write("Util.bas",
            moduleFile("Util", crlf({"'**", "' Adds.",
                                     "Public Function Sum(a As Long) As Long",
                                     "End Function", "'**", "' Shared.",
                                     "Public Sub Refresh()", "End Sub"})));
  dir.write("Counter.cls",
            classFile("Counter", crlf({"'**", "' Counts.",
                                       "Public Event Changed()", "'**",
                                       "' Counts.",
                                       "Public Function Sum() As Long",
                                       "End Function"})));
  auto c = prepare(false, true);
  EXPECT_EQ(visible(c->list("CONT-METHODS-LINK-LIST")),
            "Form1.Refresh/Refresh (Form1) Method|"
            "Form2.Refresh/Refresh (Form2) Method|Counter.Sum/Sum Method|");
  EXPECT_EQ(visible(c->list("CONT-FUNCTIONS-LINK-LIST")),
            "Util.Sum/Sum Function|Util.Refresh/Refresh Function|");
  EXPECT_EQ(visible(c->list("CONT-FORMS-LINK-LIST")),
            "Form1/Form1 Form|Form2/Form2 Form|");
  EXPECT_EQ(visible(c->list("CONT-OBJECTS-LINK-LIST")),
            "Counter/Counter Object|");
  EXPECT_EQ(visible(c->list("CONT-EVENTS-LINK-LIST")),
            "Counter.Changed/Changed Event|");
  EXPECT_EQ(c->list("CONT-PROPS-LINK-LIST"), "");
  EXPECT_NE(c->engine.src.find("CONT-PROPS-LINK-LIST"), nullptr);
  EXPECT_NE(c->list("INDEX-LINK-LIST").find("Counter.Sum\rSum method|"),
            std::string::npos);
}

}  // namespace
}  // namespace scrivlet
