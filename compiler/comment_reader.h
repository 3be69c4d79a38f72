// The comments of a compile's pages, read on a thread of its own in page
// order while the pages before them are expanded: on a large project the
// comments take a tenth of the compile, and the expanding thread need not
// wait for them.
//
// The thread reads the elements' comments and the prepared model's lists
// (see CommentFacts), nothing of the code. Until the reader is destroyed
// the model must not change: a compile that is aborted destroys the reader
// before it drops the model.
#ifndef SCRIVLET_COMPILER_COMMENT_READER_H_
#define SCRIVLET_COMPILER_COMMENT_READER_H_

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "addin/project_settings.h"
#include "comments/comment_parser.h"
#include "compiler/member_pages.h"
#include "compiler/preparation.h"
#include "source/elements.h"

namespace scrivlet {

class CommentReader {
 public:
  // `preparation` has built its page indexes (Preparation::buildPageIndexes).
  CommentReader(std::vector<std::shared_ptr<Element>> pages,
                const ProjectSettings& settings, const Preparation& preparation);
  // Stops the thread, whatever it has not read yet.
  ~CommentReader();
  CommentReader(const CommentReader&) = delete;
  CommentReader& operator=(const CommentReader&) = delete;

  // The facts of the next page, in the order given; what reading them threw
  // is thrown here. Called once for every page, as far as the compile goes.
  CommentFacts next();

  // How far the thread reads ahead; it goes back to work once the caller
  // has taken what it read, rather than for every page.
  static constexpr std::size_t kAhead = 128;

 private:
  struct Read {
    CommentFacts facts;
    std::exception_ptr error;
  };
  void run();

  std::vector<std::shared_ptr<Element>> pages_;
  const Preparation& preparation_;
  CommentParser parser_;
  std::mutex mutex_;
  std::condition_variable roomFree_;   // for the thread
  std::condition_variable readReady_;  // for the caller
  std::deque<Read> ready_;
  std::deque<Read> inHand_;  // the caller's, without the lock
  std::size_t handedOut_ = 0;
  bool callerWaiting_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_COMMENT_READER_H_
