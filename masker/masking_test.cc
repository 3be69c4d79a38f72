#include "masker/masking.h"

#include <gtest/gtest.h>

#include <string>

namespace tessick {
namespace {

TEST(Masking, EveryByteAbove127BecomesAnUnderscore) {
  std::string all, expected;
  for (int b = 0; b < 256; ++b) {
    all.push_back(static_cast<char>(b));
    expected.push_back(b > 127 ? '_' : static_cast<char>(b));
  }
  EXPECT_EQ(expected, maskNonAscii(all));
  EXPECT_EQ("_bersicht.htm", maskNonAscii("\xDC" "bersicht.htm"));
  EXPECT_EQ("caf__.htm", maskNonAscii("caf\xC3\xA9.htm"));
}

TEST(Masking, FileTextGetsCRLFForEveryCRButKeepsLoneLF) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"plain\r\nascii\r\n", "plain\r\nascii\r\n"},
      {"lone\nfeeds\n", "lone\nfeeds\n"},
      {"a\r\nb\nc\rd\xE9", "a\r\nb\nc\r\nd_"},
      {"\r", "\r\n"},
      {"x\r\r\ny\r", "x\r\n\r\ny\r\n"},
      {"\n\r\xFF\r", "\n\r\n_\r\n"},
      {std::string("nul\0\x80", 5), std::string("nul\0_", 5)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.out, maskFileText(c.in)) << c.in;
    EXPECT_EQ(c.in == c.out, isMaskedFileText(c.in)) << c.in;
  }
}

}  // namespace
}  // namespace tessick
