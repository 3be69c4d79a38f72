#include "base/path_within.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

TEST(PathWithin, ComparesWholePartsNotLetters) {
  EXPECT_TRUE(isWithinFolder("/p/doc/a.htm", "/p"));
  EXPECT_TRUE(isWithinFolder("/p/doc", "/p/doc"));
  EXPECT_TRUE(isWithinFolder("/", "/"));
  EXPECT_TRUE(isWithinFolder("/p", "/"));
  // A longer name that begins alike is a folder of its own.
  EXPECT_FALSE(isWithinFolder("/pdoc/a.htm", "/p"));
  EXPECT_FALSE(isWithinFolder("/p", "/p/doc"));
  EXPECT_FALSE(isWithinFolder("p/doc", "/p"));
  // Nothing is made normal here: ".." is a part like any other.
  EXPECT_TRUE(isWithinFolder("/p/../etc", "/p"));
}

}  // namespace
}  // namespace scrivlet
