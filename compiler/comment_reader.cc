#include "compiler/comment_reader.h"

#include <stdexcept>
#include <utility>

namespace scrivlet {

CommentReader::CommentReader(std::vector<std::shared_ptr<Element>> pages,
                             const ProjectSettings& settings,
                             const Preparation& preparation)
    : pages_(std::move(pages)),
      preparation_(preparation),
      parser_(settings),
      thread_([this] { run(); }) {}

CommentReader::~CommentReader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  roomFree_.notify_one();
  thread_.join();
}

void CommentReader::run() {
  for (const std::shared_ptr<Element>& page : pages_) {
    Read read;
    try {
      read.facts = readCommentFacts(*page, parser_, preparation_);
    } catch (...) {
      read.error = std::current_exception();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (stopping_) return;
    ready_.push_back(std::move(read));
    if (callerWaiting_) readReady_.notify_one();
    if (ready_.size() >= kAhead)
      roomFree_.wait(lock, [this] { return stopping_ || ready_.empty(); });
    if (stopping_) return;
  }
}

CommentFacts CommentReader::next() {
  if (handedOut_ == pages_.size())
    throw std::logic_error("CommentReader: no page is left to read");
  ++handedOut_;
  // Takes all that is read at once: taking the lock for every page made
  // the two threads queue up for it.
  if (inHand_.empty()) {
    std::unique_lock<std::mutex> lock(mutex_);
    callerWaiting_ = true;
    readReady_.wait(lock, [this] { return !ready_.empty(); });
    callerWaiting_ = false;
    inHand_.swap(ready_);
    roomFree_.notify_one();
  }
  Read read = std::move(inHand_.front());
  inHand_.pop_front();
  if (read.error) std::rethrow_exception(read.error);
  return std::move(read.facts);
}

}  // namespace scrivlet
