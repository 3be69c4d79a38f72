// The compile's output files, written on a thread of their own in the order
// they are handed over, while the next pages are compiled: the page texts
// and the file system's work overlap instead of taking turns.
//
// Only that thread touches the file system while files are queued. A write
// that fails stops it; the failure is answered on the calling thread, with
// the prompt writeTextFile shows, at the next hand-over or at `finish`.
// Retrying and skipping go on as they would have; abandoning drops what was
// queued after the failed file, which a compile writing in turn would not
// have reached.
#ifndef SCRIVLET_COMPILER_OUTPUT_QUEUE_H_
#define SCRIVLET_COMPILER_OUTPUT_QUEUE_H_

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "base/text_file.h"

namespace scrivlet {

class OutputQueue {
 public:
  explicit OutputQueue(FileServices& services);
  // Drops what is still queued and stops the thread.
  ~OutputQueue();
  OutputQueue(const OutputQueue&) = delete;
  OutputQueue& operator=(const OutputQueue&) = delete;

  // Queues `text` (lines joined by CR) to replace `path`, or to be added to
  // its end. Waits while the queue holds more than `kMaxQueuedBytes`.
  // Nothing is queued once a failure was abandoned.
  void write(std::string path, std::string text, bool append);
  // Returns when everything queued is written or answered; the file system
  // is the caller's again.
  void finish();
  // The files written so far, each once however many additions it took (a
  // failed one that the user had retried counts once written).
  std::size_t filesWritten();

  // What may wait in the queue, in bytes of text: a few pages' worth keeps
  // the thread busy without holding the documentation in memory.
  static constexpr std::size_t kMaxQueuedBytes = std::size_t{16} << 20;
  // A sleeping thread is woken once this many files or bytes wait, or at
  // `finish`: waking it for every small page would cost more than writing.
  static constexpr std::size_t kWakeFiles = 64;
  static constexpr std::size_t kWakeBytes = std::size_t{1} << 20;

 private:
  struct Job {
    std::string path;
    std::string text;
    bool append = false;
  };
  struct Failure {
    std::string path;
    std::string bytes;
    bool append = false;
    int error = 0;
  };

  void run();
  bool worthWaking() const {
    return jobs_.size() >= kWakeFiles || queuedBytes_ >= kWakeBytes ||
           (finishing_ && !jobs_.empty());
  }
  // Answers the failure the thread stopped at; `lock` is released while the
  // user is asked and held again after.
  void answerFailure(std::unique_lock<std::mutex>& lock);

  FileServices& services_;
  std::mutex mutex_;
  std::condition_variable jobReady_;  // for the thread
  std::condition_variable progress_;  // for the caller
  std::deque<Job> jobs_;
  std::size_t queuedBytes_ = 0;
  bool writing_ = false;
  bool failed_ = false;
  bool abandoned_ = false;
  std::size_t filesWritten_ = 0;
  // Also read between the files of a batch, without the lock.
  std::atomic<bool> stopping_ = false;
  bool finishing_ = false;
  Failure failure_;
  std::thread thread_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_COMPILER_OUTPUT_QUEUE_H_
