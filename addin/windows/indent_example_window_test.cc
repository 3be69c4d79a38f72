#include "addin/windows/indent_example_window.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "addin/windows/screenshot_test_util.h"

namespace scrivlet {
namespace {

QString shown(IndentExampleWindow& window, const char* name) {
  return window.findChild<QLabel*>(name)->text();
}

TEST(IndentExampleWindow, ShowsWhatEachModeMakesOfTheSample) {
  IndentExampleWindow window;
  EXPECT_EQ(window.windowTitle(), "Indentation example");
  QString comment;
  for (int line = 1; line <= 5; ++line)
    comment +=
        window.findChild<QLabel*>(QStringLiteral("commentLine%1").arg(line))
            ->text() +
        "|";
  EXPECT_EQ(
      comment,
      "'**|'@rem This is|'an example|'     of current|''    indent mode|");

  window.indentMode = 0;
  window.showTexts();
  EXPECT_EQ(shown(window, "outputFileText"),
            "This is\nan example\n     of current\n'    indent mode");
  EXPECT_EQ(shown(window, "htmlText"),
            "This is an example of current ' indent mode");
  EXPECT_EQ(shown(window, "rtfText"),
            "This is an example      of current '    indent mode");
  saveScreenshot(window, "indent-example-keep");

  window.indentMode = 1;
  window.showTexts();
  EXPECT_EQ(shown(window, "outputFileText"),
            "This is\n  an example\n  of current\n      indent mode");
  EXPECT_EQ(shown(window, "htmlText"),
            "This is an example of current indent mode");
  EXPECT_EQ(shown(window, "rtfText"),
            "This is an example of current     indent mode");
  saveScreenshot(window, "indent-example-ignore");
}

}  // namespace
}  // namespace scrivlet
