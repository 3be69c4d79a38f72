#include "compiler/output_queue.h"

#include <iterator>
#include <utility>

namespace scrivlet {

OutputQueue::OutputQueue(FileServices& services)
    : services_(services), thread_([this] { run(); }) {}

OutputQueue::~OutputQueue() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  jobReady_.notify_all();
  thread_.join();
}

void OutputQueue::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  // Once woken, the thread writes until the queue is empty. It takes what
  // is queued all at once: taking the lock for every file made the two
  // threads queue up for it.
  bool draining = false;
  std::deque<Job> batch;
  for (;;) {
    if (jobs_.empty()) draining = false;
    jobReady_.wait(lock, [this, &draining] {
      return stopping_ ||
             (!failed_ && (draining ? !jobs_.empty() : worthWaking()));
    });
    draining = true;
    if (stopping_) return;
    batch.swap(jobs_);
    writing_ = true;
    lock.unlock();
    std::size_t written = 0;
    std::size_t files = 0;
    Failure failure;
    while (!batch.empty() && !stopping_) {
      Job& job = batch.front();
      std::string bytes = diskText(job.text);
      written += job.text.size();
      int error = writeBytes(services_.files, job.path, bytes, job.append);
      if (error != 0) {
        failure = {std::move(job.path), std::move(bytes), job.append, error};
        batch.pop_front();
        break;
      }
      // An addition to a file written before is no file of its own.
      if (!job.append) ++files;
      batch.pop_front();
    }
    lock.lock();
    writing_ = false;
    queuedBytes_ -= written;
    filesWritten_ += files;
    if (failure.error != 0) {
      // What follows the failed file waits for the answer, ahead of what
      // was queued meanwhile.
      jobs_.insert(jobs_.begin(), std::make_move_iterator(batch.begin()),
                   std::make_move_iterator(batch.end()));
      batch.clear();
      failure_ = std::move(failure);
      failed_ = true;
    }
    progress_.notify_all();
  }
}

void OutputQueue::answerFailure(std::unique_lock<std::mutex>& lock) {
  Failure failure = std::move(failure_);
  lock.unlock();
  // The thread waits while `failed_` is set: the file system is ours.
  int answer = answerFailedWrite(services_, failure.path, failure.bytes,
                                 failure.append, failure.error, false);
  lock.lock();
  if (answer == writeDone && !failure.append) ++filesWritten_;
  if (answer == writeAbandoned) {
    abandoned_ = true;
    jobs_.clear();
    queuedBytes_ = 0;
  }
  failed_ = false;
  jobReady_.notify_one();
}

std::size_t OutputQueue::filesWritten() {
  std::lock_guard<std::mutex> lock(mutex_);
  return filesWritten_;
}

void OutputQueue::write(std::string path, std::string text, bool append) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (failed_) {
      answerFailure(lock);
      continue;
    }
    if (abandoned_) return;
    if (queuedBytes_ <= kMaxQueuedBytes) break;
    progress_.wait(lock);
  }
  queuedBytes_ += text.size();
  jobs_.push_back({std::move(path), std::move(text), append});
  if (worthWaking()) jobReady_.notify_one();
}

void OutputQueue::finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  finishing_ = true;
  jobReady_.notify_one();
  for (;;) {
    if (failed_) {
      answerFailure(lock);
      continue;
    }
    if (jobs_.empty() && !writing_) break;
    progress_.wait(lock);
  }
  finishing_ = false;
}

}  // namespace scrivlet
