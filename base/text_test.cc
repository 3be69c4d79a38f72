#include "base/text.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

TEST(Text, TrimmingRemovesSpacesOnlyAtBothEnds) {
  EXPECT_EQ(trimmedView("  a b  "), "a b");
  EXPECT_EQ(trimmedView("a"), "a");
  EXPECT_EQ(trimmedView("   "), "");
  EXPECT_EQ(trimmedView(""), "");
  EXPECT_EQ(trimmedView("\ta \t"), "\ta \t");
  EXPECT_EQ(trim(" x "), "x");
  EXPECT_EQ(leftTrim("  x "), "x ");
  EXPECT_EQ(rightTrim("  x "), "  x");
}

TEST(Text, ReplaceAllTakesEveryOccurrenceLeftToRight) {
  EXPECT_EQ(replaceAll("a\rb\r", "\r", "\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(replaceAll("$$$", "$$", "$"), "$$");
  EXPECT_EQ(replaceAll("abc", "x", "y"), "abc");
  EXPECT_EQ(replaceAll("abc", "", "y"), "abc");
  EXPECT_EQ(replaceAll("aaa", "a", ""), "");
}

}  // namespace
}  // namespace scrivlet
