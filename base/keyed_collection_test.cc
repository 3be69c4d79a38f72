#include "base/keyed_collection.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

TEST(KeyedCollection, KeysIgnoreCaseKeepOrderAndRejectDuplicates) {
  KeyedCollection<int> c;
  EXPECT_TRUE(c.add("Form1", 1));
  EXPECT_TRUE(c.add("Class1.Value'let", 2));
  EXPECT_FALSE(c.add("FORM1", 3));
  EXPECT_TRUE(c.add("\xC4rger", 4));  // Windows-1252 capital A umlaut
  EXPECT_FALSE(c.add("\xE4RGER", 5));
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(*c.find("class1.value'LET"), 2);
  EXPECT_EQ(c.keyAt(0), "Form1");

  EXPECT_TRUE(c.remove("form1"));
  EXPECT_EQ(c.keyAt(0), "Class1.Value'let");
  EXPECT_EQ(*c.find("\xE4rger"), 4);
  EXPECT_EQ(c.find("Form1"), nullptr);
}

// Keys are hashed and compared eight bytes at a time; a difference of case
// must not count at any position, a difference of anything else at every.
TEST(KeyedCollection, CaseIsIgnoredAtEveryPositionOfLongKeys) {
  const std::string lower = "abcdefghijklmnopqrstuvwxyz\xe4\xf6\x9a@[`{";
  const std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xC4\xD6\x8A@[`{";
  for (std::size_t length = 0; length <= lower.size(); ++length) {
    KeyedCollection<std::size_t> c;
    ASSERT_TRUE(c.add(lower.substr(0, length), length));
    EXPECT_FALSE(c.add(upper.substr(0, length), 0)) << length;
    for (std::size_t at = 0; at < length; ++at) {
      std::string other = upper.substr(0, length);
      other[at] = '-';
      EXPECT_EQ(c.find(other), nullptr) << length << " " << at;
    }
    // Shorter and longer keys differ, even by a zero byte.
    EXPECT_EQ(c.find(upper.substr(0, length) + '\0'), nullptr);
  }
  // The neighbours of the capitals are not capitals.
  KeyedCollection<int> c;
  c.add("@@@@[[[[", 1);
  EXPECT_EQ(c.find("````{{{{"), nullptr);
}

}  // namespace
}  // namespace scrivlet
