#include "compiler/comment_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "compiler/fake_elements.h"
#include "compiler/macro_engine.h"

namespace scrivlet {
namespace {

class CommentReaderTest : public ::testing::Test {
 protected:
  // A module and `count` methods, each with a comment of its own.
  void addPages(int count) {
    auto module = project.addModule("Class1");
    module->comment = {"The class."};
    pages.push_back(module);
    for (int i = 0; i < count; ++i) {
      auto method = project.addMember(module, ElementKind::Smethod,
                                      "Do" + std::to_string(i));
      method->comment = {"Does " + std::to_string(i) + ".",
                         "@param x" + std::to_string(i) + " The value.",
                         "@see Class1.Do" + std::to_string(i + 1),
                         "@author A" + std::to_string(i)};
      pages.push_back(method);
    }
    preparation.buildPageIndexes();
  }

  store elements;
  Progress progress;
  MacroEngine engine{elements, progress};
  ProjectSettings settings;
  Preparation preparation{elements, engine, settings};
  FakeElementStore project{elements};
  std::vector<std::shared_ptr<Element>> pages;
};

TEST_F(CommentReaderTest, HandsOverWhatReadingOnTheCallersThreadGives) {
  // Many times the read-ahead, so that the thread waits and goes on again.
  addPages(static_cast<int>(CommentReader::kAhead) * 5 + 3);
  CommentReader reader(pages, settings, preparation);
  CommentParser parser(settings);
  for (const auto& page : pages) {
    CommentFacts expected = readCommentFacts(*page, parser, preparation);
    CommentFacts facts = reader.next();
    EXPECT_EQ(facts.description, expected.description);
    EXPECT_EQ(facts.params, expected.params);
    EXPECT_EQ(facts.see, expected.see);
    EXPECT_EQ(facts.author, expected.author);
    EXPECT_EQ(*facts.applies, *expected.applies);
    if (page->kind() == ElementKind::Smodule) {
      EXPECT_EQ(*facts.methods, *expected.methods);
    }
  }
  EXPECT_THROW(reader.next(), std::logic_error);
}

TEST_F(CommentReaderTest, StopsWhereTheCompileStops) {
  addPages(static_cast<int>(CommentReader::kAhead) * 3);
  {
    CommentReader reader(pages, settings, preparation);
    EXPECT_EQ(reader.next().description, "The class.\r");
    // Destroyed with most pages unread, while its thread waits or reads.
  }
  // The model may change now: nothing reads it any more.
  elements.clearElements();
}

}  // namespace
}  // namespace scrivlet
