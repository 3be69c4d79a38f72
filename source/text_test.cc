#include "source/text.h"

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

}  // namespace
}  // namespace scrivlet
