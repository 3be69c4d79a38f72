#include "desktop/vb_highlighter.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace scrivlet {
namespace {

TEST(VbHighlighter, CommentStartsOutsideStrings) {
  EXPECT_EQ(commentStart(QStringLiteral("x = 1 ' one")), 6);
  EXPECT_EQ(commentStart(QStringLiteral("s = \"it's\"")), -1);
  EXPECT_EQ(commentStart(QStringLiteral("s = \"a \"\"b\"\" c\" ' q")), 16);
  EXPECT_EQ(commentStart(QStringLiteral("Rem note")), 0);
  EXPECT_EQ(commentStart(QStringLiteral("x = 1: rem note")), 7);
  EXPECT_EQ(commentStart(QStringLiteral("Remove = 1")), -1);
  EXPECT_EQ(commentStart(QStringLiteral("x = Rem")), -1);
}

// "'**" opens a documentation comment that the comment lines under it
// continue; a code line ends it, and an ordinary comment stays ordinary.
TEST(VbHighlighter, DocumentationCommentsStandApart) {
  QTextDocument document(QStringLiteral(
      "'**\n' Adds.\n'@param x\nSub Add(x)\n' plain\nx = \"'**\" ' tail"));
  VbHighlighter highlighter(&document);
  highlighter.rehighlight();
  auto colourAt = [&](int line, int column) {
    QTextBlock block = document.findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
      if (column >= range.start && column < range.start + range.length)
        return range.format.foreground().color().name();
    return QStringLiteral("none");
  };
  QString doc = colourAt(0, 0);
  QString comment = colourAt(4, 0);
  EXPECT_NE(doc, comment);
  EXPECT_EQ(colourAt(1, 2), doc);
  EXPECT_EQ(colourAt(2, 2), doc);
  EXPECT_NE(colourAt(3, 0), doc);   // "Sub" is a keyword
  EXPECT_NE(colourAt(5, 5), doc);   // "'**" inside a string
  EXPECT_EQ(colourAt(5, 11), comment);
}

}  // namespace
}  // namespace scrivlet
