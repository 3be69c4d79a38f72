#include "comments/word_wrapper.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "comments/comment_parser.h"

namespace scrivlet {
namespace {

using Lines = std::vector<std::string>;

TEST(WordWrapper, BreaksAtTheLastBlankThatFits) {
  struct Case {
    std::string line;
    int max;
    Lines pieces;
  };
  const Case cases[] = {
      {"aaaa bbbb cccc", 10, {"aaaa bbbb", "cccc"}},
      {"abcdefghijklmno pq", 10, {"abcdefghijklmno", "pq"}},
      {"abcdefghij", 10, {"abcdefghij"}},
      {"abcdefghij ", 10, {"abcdefghij"}},
      {"abcdefghijklmnop", 10, {"abcdefghijklmnop"}},
      {"", 10, {""}},
      // Only the blank at the break goes.
      {"aaaa bbbb  cccc", 10, {"aaaa bbbb ", "cccc"}},
      {"aaaa bbbbb  cc", 10, {"aaaa bbbbb", " cc"}},
      // Spaces before tabs, looking back first, then forward.
      {"aa bb\tcccc dd", 7, {"aa", "bb\tcccc", "dd"}},
      {"aaaa\tbbbb\tcc", 5, {"aaaa", "bbbb", "cc"}},
      {"abcdefgh\tij kl", 5, {"abcdefgh\tij", "kl"}},
      {"abcdefgh\tij", 5, {"abcdefgh", "ij"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WordWrapper::getWrappedLine(c.line, c.max), c.pieces)
        << c.line;
}

TEST(WordWrapper, WrapsEveryLineAndIsOffAtZeroOrBelow) {
  const Lines comment = {"@param x A long description here", "", "short"};
  EXPECT_EQ(WordWrapper::makeWordWrapping(comment, 12),
            (Lines{"@param x A", "long", "description", "here", "", "short"}));

  ProjectSettings settings;
  settings.wordWrapLength = -12;
  EXPECT_EQ(WordWrapper::makeWordWrapping(comment, settings), comment);
  settings.wordWrapLength = 0;
  EXPECT_EQ(WordWrapper::makeWordWrapping(comment, settings), comment);
}

// The example must tell the truth about the parser: the documentation text
// of mode 0 is what the parser reads, and under either mode the CHM and
// HTML text is the parser's text with blanks collapsed as a browser does.
TEST(IndentExample, AgreesWithTheParser) {
  Lines comment;
  for (const std::string& line : indentExampleComment())
    if (line != "'**") comment.push_back(line.substr(1));

  for (int mode : {0, 1}) {
    ProjectSettings settings;
    settings.indentMode = static_cast<std::int16_t>(mode);
    CommentParser parser(settings);
    parser.setComment(comment);
    std::string remarks = parser.getRemarks();
    IndentExampleTexts texts = indentExampleTexts(mode);
    if (mode == 0) {
      EXPECT_EQ(texts.documentationFile, remarks);
    }

    std::string collapsed = replaceAll(remarks, "\r", " ");
    while (collapsed.find("  ") != std::string::npos)
      collapsed = replaceAll(collapsed, "  ", " ");
    EXPECT_EQ(texts.chmAndHtml, trim(collapsed)) << "mode " << mode;
  }
  EXPECT_EQ(indentExampleTexts(1).documentationFile,
            "This is\r  an example\r  of current\r      indent mode");
  EXPECT_EQ(indentExampleTexts(7).rtfAndHlp,
            "This is an example      of current '    indent mode");
}

}  // namespace
}  // namespace scrivlet
