#include "compiler/output_encoding.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

// Each byte is a character of the code page, except well-formed UTF-8,
// which a module saved as UTF-8 holds and which is kept as it is.
TEST(OutputEncoding, ConvertsAnsiAndKeepsUtf8) {
  EXPECT_EQ(toUtf8("plain\r\n", 1252), "plain\r\n");
  EXPECT_EQ(toUtf8("caf\xE9 \x80 \x93quoted\x94", 1252),
            "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D");
  EXPECT_EQ(toUtf8("caf\xC3\xA9 and \xE9t\xE9", 1252),
            "caf\xC3\xA9 and \xC3\xA9t\xC3\xA9");
  // Cyrillic "Da" in Windows-1251; a byte 1252 leaves undefined.
  EXPECT_EQ(toUtf8("\xC4\xE0", 1251), "\xD0\x94\xD0\xB0");
  EXPECT_EQ(toUtf8("a\x81z", 1252), "a\xEF\xBF\xBDz");
  // Bytes that only start a sequence, an overlong form, a surrogate.
  EXPECT_EQ(toUtf8("\xC3", 1252), "\xC3\x83");
  EXPECT_EQ(toUtf8("\xC0\xAF", 1252), "\xC3\x80\xC2\xAF");
  EXPECT_EQ(toUtf8("\xED\xA0\x80", 65001), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  // Shift-JIS "a" in hiragana; double-byte text is converted whole.
  EXPECT_EQ(toUtf8("x\x82\xA0", 932), "x\xE3\x81\x82");
}

TEST(OutputEncoding, NamesTheCharsetHtmlDeclares) {
  EXPECT_EQ(charsetName(1252), "windows-1252");
  EXPECT_EQ(charsetName(1251), "windows-1251");
  EXPECT_EQ(charsetName(65001), "utf-8");
  EXPECT_EQ(charsetName(932), "shift_jis");
}

}  // namespace
}  // namespace scrivlet
