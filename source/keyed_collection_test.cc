#include "source/keyed_collection.h"

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

}  // namespace
}  // namespace scrivlet
