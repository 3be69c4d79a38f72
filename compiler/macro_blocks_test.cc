// List loops and conditions over values the compiler sets: link lists that
// resolve against elements, parameter and settings lists.
#include <gtest/gtest.h>

#include "compiler/fake_elements.h"
#include "compiler/macro_engine.h"
#include "compiler/recording_sink.h"

namespace scrivlet {
namespace {

class ListLoops : public ::testing::Test {
 protected:
  ListLoops() : progress(&sink), engine(elements, progress), project(elements) {
    class1 = project.addModule("Class1", 3);
    zeta = project.addMember(class1, ElementKind::Smethod, "Zeta", 5);
    alpha = project.addMember(class1, ElementKind::Smethod, "alpha", 7);
    form1 = project.addModule("Form1");
    formLoad = project.addMember(form1, ElementKind::Smethod, "Load", 9);
    formLoad->needsModule = true;
    elements.compiledWrapper = alpha;
  }

  std::string expand(const std::string& text) {
    engine.setMacroValue("scriv-test", text);
    return engine.evaluateMacro("scriv-test", false);
  }

  store elements;
  RecordingSink sink;
  Progress progress;
  MacroEngine engine;
  FakeElementStore project;
  std::shared_ptr<Element> class1, zeta, alpha, form1, formLoad;
};

// The loop stores over the very macro whose text holds it; the text is read
// to its end all the same.
TEST_F(ListLoops, ALoopMayStoreOverTheTextThatHoldsIt) {
  engine.setMacroValue("PARAM-LIST", makeList({"a\rA", "b\rB"}));
  engine.setMacroValue("LIST-ITEM-LABEL",
                       std::string("$DOLIST$ $PARAM-LIST$\r[$LIST-ITEM-PARAM$]"
                                   "$END-DOLIST$, and after the loop: "
                                   "$LIST-ITEM-LABEL$."));
  EXPECT_EQ(engine.evaluateMacro("LIST-ITEM-LABEL", false),
            "[a][b], and after the loop: B.");
}

// A list that holds its elements (read partly on two threads when long)
// loops exactly as the same links resolved one by one: order, labels,
// redirections, warnings.
TEST_F(ListLoops, ListsHoldingTheirElementsLoopAsTheirLinksWould) {
  MacroList held;
  for (int i = 0; i < 6000; ++i) {
    std::string name = "M" + std::to_string(i % 3000);
    auto member =
        i < 3000 ? project.addMember(class1, ElementKind::Smethod, name, i % 7)
                 : *elements.all.find("Class1." + name);
    if (i % 97 == 0) member->needsModule = true;
    std::string label = i % 5 == 0 ? "label " + std::to_string(i % 11) : "";
    held.pushLink((i % 13 == 0 ? "." + name : "Class1." + name) + "\r" + label,
                  member);
  }
  engine.linkTable.add("Class1.M7", "Class1.M8");
  engine.linkTable.add("Class1.M9", "Form1.Load");
  held.pushLink("Class1.Gone\r", nullptr);
  held.pushLink("\"manual.chm\r", nullptr);
  MacroList plain(held.begin(), held.end());
  const std::string loop =
      "$DOLIST$ $SEE-LINK-LIST$\r$LIST-ITEM-NUMBER$|$LIST-ITEM$|"
      "$LIST-ITEM-LABEL$|$LIST-ITEM-LOCATION$|$LIST-ITEM-HELPID$\r$END-DOLIST$";

  engine.setMacroValue("SEE-LINK-LIST", makeList(std::move(plain)));
  std::string resolved = expand(loop);
  std::string warnings = sink.text();
  progress.lastReportedMessage.clear();  // a warning in a row is not repeated
  engine.setMacroValue("SEE-LINK-LIST", makeList(std::move(held)));
  EXPECT_EQ(expand(loop), resolved);
  EXPECT_EQ(sink.text(), warnings + warnings);
  EXPECT_NE(warnings.find("Class1.Gone"), std::string::npos);
}

// A loop with an empty body, which templates use to count a list, leaves
// the same item behind as one with a body: the last in sorted order, the
// last written of equal ones.
TEST_F(ListLoops, CountingLoopsLeaveTheLastItemBehind) {
  engine.setMacroValue("NOTHING", std::string());
  engine.setMacroValue(
      "SEE-LINK-LIST",
      makeList({"\"b.chm\rZz", "Class1.Zeta\r", "\"a.chm\rZz",
                "\"c.chm\rZz", "Form1.Load\r"}));
  const std::string after =
      "$LIST-ITEM-NUMBER$|$LIST-ITEM$|$LIST-ITEM-LABEL$|$LIST-ITEM-LOCATION$|"
      "$LIST-ITEM-FILE$|$LIST-ITEM-FIRST$|$LIST-ITEM-LAST$";
  std::string counted =
      expand("$DOLIST$ $SEE-LINK-LIST$\r$END-DOLIST$" + after);
  EXPECT_EQ(counted, "5|c.chm|Zz|External file|c.chm||1");
  EXPECT_EQ(expand("$DOLIST$ $SEE-LINK-LIST$\r$NOTHING$$END-DOLIST$" + after),
            counted);
}

TEST_F(ListLoops, LinkListsAreNormalisedAndSortedByLabel) {
  engine.setMacroValue("SEE-LINK-LIST",
                       makeList({".Zeta\r", "Class1.alpha\r", "Form1.Load\r",
                                 "Form1\r", "\"manual.chm\r",
                                 "Class1.Gone\rGone label", "Class1.Gone\r"}));
  EXPECT_EQ(expand("$DOLIST$ $SEE-LINK-LIST$\r"
                   "$LIST-ITEM-NUMBER$|$LIST-ITEM$|$LIST-ITEM-LABEL$|"
                   "$LIST-ITEM-LOCATION$|$LIST-ITEM-FILE$|$LIST-ITEM-HELPID$|"
                   "$LIST-ITEM-FIRST$|$LIST-ITEM-LAST$\r"
                   "$END-DOLIST$after: $LIST-ITEM$"),
            "1|||||0|1|\r"
            "2|alpha|alpha|Class1||7||\r"
            "3||Form1|Form1||0||\r"
            "4||Gone label|||0||\r"
            "5|Load|Load (Form1)|Form1||9||\r"
            "6|manual.chm|manual.chm|External file|manual.chm|0||\r"
            "7|Zeta|Zeta|Class1||5||1\r"
            "after: Zeta");
  // Both entries of the dead link follow each other: one warning.
  EXPECT_EQ(sink.text(),
            "Warning: The dead link 'Class1.Gone' was found in 'alpha' member "
            "of 'Class1' module.\n");
}

TEST_F(ListLoops, LinksLeadToThePageThatDocumentsThem) {
  engine.linkTable.add("Class1.alpha", "Class1.Zeta");
  engine.setMacroValue("SEE-LINK-LIST",
                       makeList({"Class1.alpha\r", "Class1.alpha\rOwn"}));
  EXPECT_EQ(expand("$DOLIST$ $SEE-LINK-LIST$\r"
                   "$LIST-ITEM$ $LIST-ITEM-LABEL$ $LIST-ITEM-HELPID$;"
                   "$END-DOLIST$"),
            "Zeta Own 5;Zeta Zeta 5;");
}

TEST_F(ListLoops, GroupProjectsAreExternalFiles) {
  engine.setMacroValue("GROUP-PROJECTS-LIST", makeList({"\"Calc\r"}));
  EXPECT_EQ(expand("$DOLIST$ $GROUP-PROJECTS-LIST$\r"
                   "$LIST-ITEM$|$LIST-ITEM-FILE$|$LIST-ITEM-LOCATION$|"
                   "$LIST-ITEM-HELPID$\r$END-DOLIST$"),
            "Calc|Calc|External file|0\r");
}

TEST_F(ListLoops, NestedLoopsListEachModulesMembers) {
  project.addMember(form1, ElementKind::Smethod, "Unload");
  engine.getMethodsList = [](const Element& module) {
    if (module.moduleName() == "Form1")
      return shareList({"Form1.Unload\r", "Form1.Load\r"});
    return shareList({});
  };
  engine.setMacroValue("CONT-FORMS-LINK-LIST",
                       makeList({"Form1\r", "Class1\r"}));
  EXPECT_EQ(
      expand("$DOLIST$ $CONT-FORMS-LINK-LIST$\r"
             "$LIST-ITEM-LOCATION$:"
             "$DOLIST$ $METHODS-LINK-LIST$\r"
             " $LIST-ITEM$$IFNOTEMPTY$ $LIST-ITEM-LAST$\r.$END-IFNOTEMPTY$"
             "$END-DOLIST$"
             "$IFNOTEMPTY$ $METHODS-LINK-LIST$\r$ELSEIF$ none.$END-IFNOTEMPTY$\r"
             "$END-DOLIST$"),
      "Class1: none.\rForm1: Load Unload.\r");
}

TEST_F(ListLoops, EmptyAndMissingListsGiveNothing) {
  engine.setMacroValue("PARAM-LIST", makeList({}));
  engine.setMacroValue("TEXT", std::string("x"));
  engine.setMacroValue("NULL-LIST", MacroListPtr());
  EXPECT_EQ(expand("a$DOLIST$ $PARAM-LIST$\rx$END-DOLIST$"
                   "$DOLIST$ $TEXT$\rx$END-DOLIST$"
                   "$DOLIST$ $NULL-LIST$\rx$END-DOLIST$"
                   "$DOLIST$ $UNDEFINED$\rx$END-DOLIST$"
                   "$IFNOTEMPTY$ $PARAM-LIST$\rfull$ELSEIF$empty$END-IFNOTEMPTY$"
                   "$IFNOTEMPTY$ $NULL-LIST$\rfull$ELSEIF$empty$END-IFNOTEMPTY$b"),
            "aemptyemptyb");
  EXPECT_EQ(sink.text(), "");
}

TEST_F(ListLoops, AnErrorInsideALoopEmptiesTheLoop) {
  engine.setMacroValue("PARAM-LIST", makeList({"a\r", "b\r", "c\r"}));
  engine.idCounter = 2147483646;
  EXPECT_EQ(expand("[$DOLIST$ $PARAM-LIST$\r$NEXT-ID$ $END-DOLIST$]"), "[]");
}

TEST_F(ListLoops, LabelsTakeTheReplaceTableButTheLoopBodyDoesNot) {
  engine.replaceTable = ReplaceTable({"<", "&lt;"});
  engine.setMacroValue("SEE-LINK-LIST", makeList({"Class1.Zeta\ra<b"}));
  EXPECT_EQ(expand("$REPLACE-ON$$DOLIST$ $SEE-LINK-LIST$\r"
                   "<$LIST-ITEM-LABEL$>$END-DOLIST$"),
            "<a&lt;b>");
}

// Comment texts let the template's tags through as markup, escape every
// other markup, and close what they leave open, also around macros inside
// the text; the template's own text and names are never touched.
TEST_F(ListLoops, CommentTextsKeepTheTemplatesTagsAndCloseThem) {
  engine.replaceTable =
      ReplaceTable({"&", "&amp;", "<", "&lt;", ">", "&gt;"});
  engine.inlineHtml = InlineHtml("b i code pre p br ul li");
  engine.setMacroValue("EOL", std::string("<br>"));
  engine.setMacroValue(
      "MEMBER-DESCRIPTION",
      std::string("Use <B>bold</b> & <i onclick=\"x()\">this</i>, "
                  "<script>alert(1)</script>$EOL$a<b <code>x < y<br/>"
                  "<p>One<p>Two <ul><li>a<li>b</ul> </i><pre>code"));
  engine.setMacroValue("MEMBER-NAME", std::string("<b>Name"));
  EXPECT_EQ(expand("$REPLACE-ON$<div>$MEMBER-DESCRIPTION$</div>"),
            "<div>Use <b>bold</b> &amp; &lt;i onclick=\"x()\"&gt;this&lt;/i&gt;, "
            "&lt;script&gt;alert(1)&lt;/script&gt;<br>a&lt;b <code>x &lt; y<br>"
            "<p>One</p><p>Two <ul><li>a</li><li>b</li></ul> &lt;/i&gt;<pre>code"
            "</pre></p></code></div>");
  EXPECT_EQ(expand("$REPLACE-ON$<h1>$MEMBER-NAME$</h1>"), "<h1>&lt;b&gt;Name</h1>");
  EXPECT_EQ(expand("$REPLACE-OFF$$MEMBER-DESCRIPTION$").substr(0, 13),
            "Use <B>bold</");
}

// Tags opened without end stay markup only so deep; the rest is text.
TEST(InlineHtml, OpensTagsOnlySoDeep) {
  InlineHtml tags("b");
  std::vector<std::string> open;
  std::string text, out;
  for (int i = 0; i < 100; ++i) text += "<b>";
  tags.apply(text, ReplaceTable({"<", "&lt;"}), open, out);
  InlineHtml::close(open, out);
  std::string expected;
  for (int i = 0; i < 64; ++i) expected += "<b>";
  for (int i = 64; i < 100; ++i) expected += "&lt;b>";
  for (int i = 0; i < 64; ++i) expected += "</b>";
  EXPECT_EQ(out, expected);
}

// An item tells whether its target has a page, and gives the first
// sentence of the target's description where the compile provides it.
TEST_F(ListLoops, ItemsTellWhetherTheirPageIsWrittenAndTheirSummary) {
  engine.hasPage = [&](const Element& e) { return &e != form1.get(); };
  engine.summaryOf = [](const Element& e) { return "About " + e.name() + "."; };
  engine.setMacroValue(
      "SEE-LINK-LIST",
      makeList({"Class1.Zeta\r", "Form1\r", "Class1.Gone\r", "\"a.chm\r"}));
  EXPECT_EQ(expand("$DOLIST$ $SEE-LINK-LIST$\r"
                   "[$LIST-ITEM-LABEL$:$LIST-ITEM-PAGE$:$LIST-ITEM-SUMMARY$]"
                   "$END-DOLIST$"),
            "[::][a.chm:1:][Form1::About Form1.][Zeta:1:About Zeta.]");
}

// A module without an element of its own, held with its name as the label
// (as a property's "applies to" list names a standard module that is not
// documented), shows its name and leads nowhere, without a warning.
TEST_F(ListLoops, AHeldItemWithoutElementNamesItsLabelSilently) {
  MacroList held;
  held.pushLink("modMain\rmodMain", nullptr);
  held.pushLink("Class1\r", class1);
  engine.setMacroValue("APPLIES-LINK-LIST", makeList(std::move(held)));
  EXPECT_EQ(expand("$DOLIST$ $APPLIES-LINK-LIST$\r"
                   "[$LIST-ITEM-LABEL$|$LIST-ITEM-LOCATION$]$END-DOLIST$"),
            "[Class1|Class1][modMain|]");
  EXPECT_EQ(sink.text(), "");
}

}  // namespace
}  // namespace scrivlet
