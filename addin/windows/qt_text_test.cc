#include "addin/windows/qt_text.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

TEST(QtText, LinesAndAccentsCrossTheWindowEdgeBothWays) {
  const std::string ansi = "'** Caf\xE9\r'** \x80 5\r";
  QString shown = toQString(ansi);
  EXPECT_EQ(QString::fromUtf8("'** Caf\xC3\xA9\n'** \xE2\x82\xAC 5\n"), shown);
  EXPECT_EQ(ansi, fromQString(shown));
  EXPECT_EQ("a\rb\rc", fromQString("a\r\nb\nc"));
}

}  // namespace
}  // namespace scrivlet
