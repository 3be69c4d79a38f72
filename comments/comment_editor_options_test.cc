#include "comments/comment_editor_options.h"

#include <gtest/gtest.h>

namespace scrivlet {
namespace {

TEST(CommentEditorOptions, LengthIsLimitedAndKeptWhenWrappingIsOff) {
  ProjectSettings settings;
  settings.wordWrapLength = -72;
  CommentEditorOptions options(settings);
  EXPECT_FALSE(options.wordWrap());
  EXPECT_FALSE(options.lengthEnabled());
  EXPECT_EQ(options.lengthText(), "72");
  int changes = 0;
  auto following = options.changes().subscribe([&] { ++changes; });
  options.setWordWrap(true);
  EXPECT_TRUE(options.lengthEnabled());
  options.setLengthText("900");
  options.leaveLengthBox();
  EXPECT_EQ(options.lengthText(), "500");
  options.stepLength(1);
  EXPECT_EQ(options.lengthText(), "500");
  options.setLengthText(" 12abc");
  options.stepLength(-1);
  EXPECT_EQ(options.lengthText(), "11");
  options.setLengthText("abc");
  options.setShowEOLAsNewLine(true);
  EXPECT_EQ(changes, 7);
  // Nothing reaches the settings before OK.
  EXPECT_EQ(settings.wordWrapLength, -72);
  EXPECT_EQ(settings.autoInsertEOL, 0);
  options.ok(settings);
  EXPECT_EQ(options.lengthText(), "10");
  EXPECT_EQ(settings.wordWrapLength, 10);
  EXPECT_EQ(settings.autoInsertEOL, 1);

  settings.wordWrapLength = 3;
  CommentEditorOptions small(settings);
  EXPECT_EQ(small.lengthText(), "10");
  EXPECT_TRUE(small.showEOLAsNewLine());
  small.setWordWrap(false);
  small.setLengthText("-64");
  small.setShowEOLAsNewLine(false);
  small.ok(settings);
  EXPECT_EQ(settings.wordWrapLength, -10);
  EXPECT_EQ(settings.autoInsertEOL, 0);

  settings.wordWrapLength = 2000;
  EXPECT_EQ(CommentEditorOptions(settings).lengthText(), "500");
}

}  // namespace
}  // namespace scrivlet
