// Pages, lists and links of Enum and Type blocks.
#include <gtest/gtest.h>

#include "base/text.h"
#include "compiler/disk_project_test_util.h"
#include "compiler/member_pages.h"

namespace scrivlet {
namespace {

const std::string kModule = moduleFile(
    "M", crlf({"Option Explicit",
               "'**",
               "' Ways to open a file.",
               "'@see          .Open",
               "Public Enum FileMode",
               "    '**",
               "    ' For reading.",
               "    fmRead = 1",
               "    fmWrite = &H10 ' For writing.",
               "    fmAny",
               "    fmDollar = Asc(\"$\") ' A $$ sign.",
               "End Enum",
               "Private Enum Hidden",
               "    hA",
               "End Enum",
               "Public Type Span",
               "    Label As String * 20 ' Shown <above>.",
               "    Mode As FileMode",
               "    Other(1 To 2) As M.Span",
               "End Type",
               "'**",
               "' Opens a file.",
               "'@param        path Where.",
               "'@param        mode How.",
               "'@return       The mode used.",
               "'@see          M.FileMode",
               "'@see          .Span",
               "Public Function Open(ByVal path As String, _",
               "                     ByVal mode As FileMode) As FileMode",
               "End Function"}));

const std::string kBodies =
    "$MEMBER-EXT$ .txt\n"
    "$scriv-stdmodule-body$\n"
    "module $MEMBER-NAME$: enums$DOLIST$ $ENUMS-LINK-LIST$\n"
    " $LIST-ITEM-LOCATION$.$LIST-ITEM$$END-DOLIST$; types$DOLIST$ "
    "$TYPES-LINK-LIST$\n"
    " $LIST-ITEM$$END-DOLIST$\n"
    "$end-scriv-stdmodule-body$\n"
    "$scriv-function-body$\n"
    "function $MEMBER-NAME$ [$MEMBER-TYPE-LOCATION$.$MEMBER-TYPE$]:"
    "$DOLIST$ $PARAM-LIST$\n"
    " $LIST-ITEM-PARAM$ [$LIST-ITEM-TYPE-LOCATION$.$LIST-ITEM-TYPE$]"
    "$END-DOLIST$; see$DOLIST$ $SEE-LINK-LIST$\n"
    " <$LIST-ITEM-LOCATION$.$LIST-ITEM$>$END-DOLIST$\n"
    "$end-scriv-function-body$\n";

const std::string kBlockBodies =
    "$scriv-enum-body$\n"
    "enum $MEMBER-NAME$ $MEMBER-PUBLIC$$MEMBER-PRIVATE$: $MEMBER-DESCRIPTION$\n"
    "$MEMBER-DECLARATION$\n"
    "$DOLIST$ $ITEM-LIST$\n"
    "- $LIST-ITEM-PARAM$ = $LIST-ITEM-VALUE$: $LIST-ITEM-LABEL$\n"
    "$END-DOLIST$see$DOLIST$ $SEE-LINK-LIST$\n"
    " <$LIST-ITEM-LOCATION$.$LIST-ITEM$>$END-DOLIST$\n"
    "$end-scriv-enum-body$\n"
    "$scriv-type-body$\n"
    "type $MEMBER-NAME$\n"
    "$DOLIST$ $ITEM-LIST$\n"
    "- $LIST-ITEM-PARAM$ As $LIST-ITEM-VALUE$ "
    "[$LIST-ITEM-TYPE-LOCATION$.$LIST-ITEM-TYPE$]: $LIST-ITEM-LABEL$\n"
    "$END-DOLIST$\n"
    "$end-scriv-type-body$\n"
    "$EOL$ /\n";

class BlockPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("P.vbp", crlf({"Type=Exe", "Module=M; M.bas", "Name=\"P\""}));
    dir.write("M.bas", kModule);
  }

  // Every page of the page index, and the index and contents lists.
  std::string pages(const std::string& templateText,
                    bool privateToo = false) {
    Compilation c(dir.path("P.vbp"), templateText, dir.path("doc"));
    c.settings.comStdModule = true;
    c.settings.comPrivate = privateToo;
    EXPECT_TRUE(c.driver->prepare(*c.vbe));
    std::string out;
    for (const auto& entry : c.driver->pageIndex())
      out += "== " + entry.key + " " + std::to_string(entry.item->helpID) +
             "\n" + replaceAll(c.driver->compilePage(entry.item), "\r", "\n") +
             "\n";
    out += "index: " + c.list("INDEX-LINK-LIST") + "\n";
    out += "enums: " + c.list("CONT-ENUMS-LINK-LIST") + "\n";
    out += "types: " + c.list("CONT-TYPES-LINK-LIST") + "\n";
    out += c.sink.messages;
    return replaceAll(out, "\r", "/");
  }

  ScratchFolder dir;
};

TEST_F(BlockPagesTest, EnumsAndTypesHavePagesListsAndLinks) {
  EXPECT_EQ(pages(kBodies + kBlockBodies),
            "== M 100\n"
            "module M: enums M.FileMode; types Span\n"
            "== M.Open 101\n"
            "function Open [M.FileMode]: path [.] mode [M.FileMode]; see"
            " <M.FileMode> <M.Span>\n"
            "== M.FileMode 102\n"
            "enum FileMode Public:  Ways to open a file.\n\n"
            "Public Enum FileMode/    fmRead = 1/    fmWrite = &H10/    fmAny/"
            "    fmDollar = Asc(\"$\")/End Enum\n"
            "- fmRead = 1:  For reading.\n\n"
            "- fmWrite = &H10: For writing.\n\n"
            "- fmAny = : \n"
            "- fmDollar = Asc(\"$\"): A $ sign.\n\n"
            "see <M.Open>\n"
            "== M.Span 103\n"
            "type Span\n"
            "- Label As String * 20 [.]: Shown <above>.\n\n"
            "- Mode As FileMode [M.FileMode]: \n"
            "- Other(1 To 2) As M.Span [M.Span]: \n"
            "\n"
            "index: M/M module|M.Open/Open function|M.FileMode/FileMode enum|"
            "M.Span/Span type|\n"
            "enums: M.FileMode/FileMode Enum|\n"
            "types: M.Span/Span Type|\n");
}

// A template without pages for them documents them nowhere: no page, no
// list entry, and a link to one is the dead link it always was (which a
// "See also" list leaves out, as it has no text of its own).
TEST_F(BlockPagesTest, ATemplateWithoutTheirSectionsLeavesThemOut) {
  EXPECT_EQ(pages(kBodies),
            "== M 100\n"
            "module M: enums; types\n"
            "== M.Open 101\n"
            "function Open [.]: path [.] mode [.]; see\n"
            "index: M/M module|M.Open/Open function|\n"
            "enums: \n"
            "types: \n"
            "Warning: The dead link 'M.FileMode' was found in 'Open' member of "
            "'M' module.\n"
            "Warning: The dead link '.Span' was found in 'Open' member of 'M' "
            "module.\n");
}

TEST_F(BlockPagesTest, PrivateBlocksWithPrivateMembersOnly) {
  std::string all = pages(kBodies + kBlockBodies, true);
  EXPECT_NE(all.find("== M.Hidden 103\nenum Hidden Private: \n\n"
                     "Private Enum Hidden/    hA/End Enum\n- hA = : \nsee\n"
                     "== M.Span 104\n"),
            std::string::npos)
      << all;
  EXPECT_NE(all.find("enums: M.FileMode/FileMode Enum|M.Hidden/Hidden Enum|"),
            std::string::npos)
      << all;
}

}  // namespace
}  // namespace scrivlet
