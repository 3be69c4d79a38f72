#include "base/code_page.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

TEST(CodePage, EveryByteOfWindows1252RoundTrips) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  std::string shown = ansiToUtf8(all, 1252);
  EXPECT_EQ("caf\xC3\xA9 \xE2\x82\xAC", ansiToUtf8("caf\xE9 \x80", 1252));
  EXPECT_EQ("\xC2\x81", ansiToUtf8("\x81", 1252));  // undefined in 1252
  bool exact = false;
  EXPECT_EQ(all, utf8ToAnsi(shown, 1252, &exact));
  EXPECT_TRUE(exact);
}

TEST(CodePage, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
  bool exact = true;
  EXPECT_EQ("a?b", utf8ToAnsi("a\xE4\xB8\xAD" "b", 1252, &exact));  // U+4E2D
  EXPECT_FALSE(exact);
  // The same character is at home in a Japanese project.
  EXPECT_EQ("\x92\x86", utf8ToAnsi("\xE4\xB8\xAD", 932, &exact));
  EXPECT_TRUE(exact);
  EXPECT_EQ("\xE4\xB8\xAD", ansiToUtf8("\x92\x86", 932));
}

}  // namespace
}  // namespace scrivlet
