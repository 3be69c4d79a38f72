#include "comments/comment_parser.h"

#include <gtest/gtest.h>

#include "base/text.h"

namespace scrivlet {
namespace {

// Every value the parser gives, one per line, with CR and tab made visible,
// so that one expected text shows what the compiler would print.
std::string render(const CommentParser& p) {
  std::string out;
  auto add = [&out](const std::string& label, const std::string& value) {
    if (value.empty()) return;
    std::string v = replaceAll(replaceAll(value, "\r", "<CR>"), "\t", "<TAB>");
    out += label + ": " + v + "\n";
  };
  add("description", p.getDescription());
  for (const std::string& e : p.getParamList()) add("param", e);
  auto groups = p.getSettingsList();
  for (std::size_t g = 0; g < groups.size(); ++g)
    for (const std::string& e : groups[g]) add("set" + std::to_string(g + 1), e);
  for (const std::string& e : p.getSeeList()) add("see", e);
  for (const std::string& e : p.getExampleList()) add("example", e);
  add("same", p.getSame());
  add("rem", p.getRemarks());
  add("return", p.getReturn());
  add("author", p.getAuthor());
  add("revision", p.getRevision());
  add("version", p.getVersion());
  for (int n = 1; n <= 5; ++n) add("user" + std::to_string(n), p.getUser(n));
  add("includesource", p.getIncludeSource());
  return out;
}

struct Case {
  std::int16_t indentMode;
  std::vector<std::string> comment;
  std::string expected;
};

void expectRendered(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    ProjectSettings settings;
    settings.indentMode = c.indentMode;
    CommentParser parser(settings);
    parser.setComment(c.comment);
    EXPECT_EQ(render(parser), c.expected)
        << "comment starting " << (c.comment.empty() ? "" : c.comment[0]);
  }
}

TEST(CommentParser, ReadsEveryTagAsTheCompilerPrintsIt) {
  expectRendered({
      {0,
       {" Adds two numbers.", "  Second line.", "@param a The first.",
        "   more on a", "@param b", "@param", "@return The sum", "  of both.",
        "@see Module1.Method1 see this", "@see", "@see   Module1  ",
        "  read by no one", "@example Examples.bas  the demo",
        "@author  Jo ", "@revision 3", "@version 1.2", "@includesource yes"},
       "description:  Adds two numbers.<CR>  Second line.<CR>\n"
       "param: a<CR>The first.<CR>   more on a<CR>\n"
       "param: b<CR>\n"
       "param: <CR>\n"
       "see: Module1.Method1<CR>see this\n"
       "see: Module1<CR>\n"
       "example: Examples.bas<CR>the demo\n"
       "return: The sum<CR>  of both.\n"
       "author: Jo\n"
       "revision: 3\n"
       "version: 1.2\n"
       "includesource: yes\n"},
      // Empty comment, an empty description line, a comment that opens
      // with a tag.
      {0, {}, ""},
      {0, {""}, "description: <CR>\n"},
      {0, {"@param x The value."}, "param: x<CR>The value.<CR>\n"},
  });
}

TEST(CommentParser, TagsArePrefixesTestedWithCase) {
  expectRendered({
      {0,
       {"@Param y is text", "@returns the count", "@remark Note",
        "@rem second", "  its line", "@same A.b", "@same  C.d ",
        "@includesource yes", "@includesource"},
       "description: @Param y is text<CR>\n"
       "same: C.d\n"
       "rem: ark Note\n"
       "return: s the count\n"},
      // Only spaces are trimmed: a tab in front hides the tag.
      {0,
       {"Text", "\t@param x y", "@param z", "\tfirst", "  @rem r"},
       "description: Text<CR><TAB>@param x y<CR>\n"
       "param: z<CR><TAB>first<CR>\n"
       "rem: r\n"},
  });
}

TEST(CommentParser, IndentModeOneDropsIndentOrTheExtraApostrophe) {
  expectRendered({
      {1,
       {"   First line", "'x", "   first", "'   kept", "\ttabbed",
        "@rem '  Remarks", "'", ""},
       "description: First line<CR>x <CR>first <CR>   kept<CR><TAB>tabbed "
       "<CR>\n"
       "rem: '  Remarks<CR> <CR> \n"},
      {1,
       {"'  Keeps its indent", "@param x", "  one", "'two"},
       "description:   Keeps its indent<CR>\n"
       "param: x<CR>one <CR>two <CR>\n"},
      // Any mode other than 1 takes lines as they come.
      {2,
       {"   First", "'x", "@param x", "   one"},
       "description:    First<CR>'x<CR>\n"
       "param: x<CR>   one<CR>\n"},
  });
}

TEST(CommentParser, CodeExamplesPassThrough) {
  expectRendered({
      {0,
       {"Shows use.", "$CODE$", "Dim a As Long$EOL$", "    a = 1",
        "$END-CODE$"},
       "description: Shows use.<CR>$CODE$<CR>Dim a As Long$EOL$<CR>    a = "
       "1<CR>$END-CODE$<CR>\n"},
      // Under indent mode 1 only a doubled apostrophe keeps a code indent.
      {1,
       {"Shows use.", "$CODE$", "If x Then$EOL$", "    a = 1$EOL$",
        "'    b = 2$EOL$", "End If", "$END-CODE$", "@rem $CODE$",
        "'  c = 3", "$END-CODE$"},
       "description: Shows use.<CR>$CODE$ <CR>If x Then$EOL$ <CR>a = 1$EOL$ "
       "<CR>    b = 2$EOL$<CR>End If <CR>$END-CODE$ <CR>\n"
       "rem: $CODE$<CR>  c = 3<CR>$END-CODE$ \n"},
  });
}

TEST(CommentParser, SetLinesFillThreeGroupsByParameter) {
  expectRendered({
      {0,
       {"@param Style The style.",
        "@set Style vbLeftJustify 0 Left justified.",
        "@set Other A",  // a last word alone is not kept
        "@set lonely",
        "@set Style vbCaption \"a \"\"b\"\" c\" Quoted value.",
        "  more text",
        "@set Third x 1 d",
        "@set Fourth x 1 dropped",
        "@set Style vbX \"open quote text",
        "@set Third  y  2  e  f "},
       "param: Style<CR>The style.<CR>\n"
       "set1: Style<CR>vbLeftJustify<CR>0<CR>Left justified.<CR>\n"
       "set1: Style<CR>vbCaption<CR>\"a \"\"b\"\" c\"<CR>Quoted value.<CR>  "
       "more text<CR>\n"
       "set1: Style<CR>vbX<CR><CR>\n"
       "set2: Other<CR><CR><CR>\n"
       "set2: lonely<CR><CR><CR>\n"
       "set3: Third<CR>x<CR>1<CR>d<CR>\n"
       "set3: Third<CR>y<CR>2<CR>e  f<CR>\n"},
  });
}

TEST(CommentParser, UserTagsFollowTheSettingsAtAssignment) {
  ProjectSettings settings;
  settings.userName[0] = "note";
  settings.userName[1] = "remark";
  CommentParser parser(settings);
  const std::vector<std::string> comment = {
      "@note First", " second", "@remark R", "@user1 old", "@user3 three"};
  parser.setComment(comment);
  EXPECT_EQ(render(parser),
            "rem: ark R<CR>@user1 old\n"
            "user1: First<CR> second\n"
            "user2: R<CR>@user1 old\n"
            "user3: three\n");

  // A renamed tag counts only from the next assignment; an unnamed one
  // reads nothing and ends no value.
  settings.userName[0] = "user1";
  settings.userName[2] = "";
  EXPECT_EQ(parser.getUser1(), "First\r second");
  parser.setComment(comment);
  EXPECT_EQ(render(parser),
            "description: @note First<CR> second<CR>\n"
            "rem: ark R\n"
            "user1: old<CR>@user3 three\n"
            "user2: R\n");
  EXPECT_EQ(parser.comment(), comment);
}

}  // namespace
}  // namespace scrivlet
