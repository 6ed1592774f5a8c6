#include "platform/appended_file.h"

#include "platform/file_names.h"
#include "platform/file_writes.h"
#include "platform/host_files.h"

namespace tornvel {

AppendedFile::~AppendedFile() {
  if (fd_ >= 0) host::closeFile(fd_);
}

Outcome AppendedFile::open(const std::string& nameAsBuilt) {
  if (fd_ >= 0) host::closeFile(fd_);
  state_ = State::kClosed;
  buffer_.clear();
  appendedAt_ = -1;
  leftover_ = {};
  const std::string path = hostPath(nameAsBuilt);
  fd_ = host::openForAppending(path);
  if (fd_ < 0) return openFailure(Step::kOpen, errno, path, Access::kWriting);
  state_ = State::kOpen;
  return {};
}

void AppendedFile::write(std::string_view text) {
  if (state_ == State::kOpen || state_ == State::kLocked || state_ == State::kLockRefused) {
    appendWithNativeLineEnds(buffer_, text);
  }
}

bool AppendedFile::lock() {
  if (state_ == State::kOpen) {
    state_ = host::lockFile(fd_, true) ? State::kLocked : State::kLockRefused;
  }
  return state_ == State::kLocked || state_ == State::kAppendedLocked;
}

void AppendedFile::unlock() {
  if (state_ == State::kLocked) release(State::kOpen);
  if (state_ == State::kLockRefused) state_ = State::kOpen;
  if (state_ == State::kAppendedLocked) release(State::kAppended);
}

// Gives the lock back, where one is held, and moves on to `next`.
void AppendedFile::release(State next) {
  if (state_ == State::kLocked || state_ == State::kAppendedLocked) host::lockFile(fd_, false);
  state_ = next;
}

Outcome AppendedFile::finish() {
  if (state_ == State::kFailed) return failure_;
  if (state_ == State::kOpen) lock();
  if (state_ != State::kLocked && state_ != State::kLockRefused) return {};
  // Under the lock, no other run's lines can come between this run's lines,
  // and the length before them is the length to go back to.
  const std::int64_t before = host::fileSize(fd_);
  std::size_t written = 0;
  if (before < 0) {
    failure_ = failureOf(Step::kMeasure);
  } else if (const int error = writeAll(fd_, buffer_, written); error != 0) {
    failure_ = Failure{Step::kWrite, error};
  } else if (!host::syncFile(fd_)) {
    failure_ = failureOf(Step::kSync);
  } else {
    appendedAt_ = before;
    appendedSize_ = static_cast<std::int64_t>(written);
    state_ = state_ == State::kLocked ? State::kAppendedLocked : State::kAppended;
    buffer_.clear();
    return {};
  }
  buffer_.clear();
  if (written > 0) cutBack(before, static_cast<std::int64_t>(written));
  release(State::kFailed);
  return failure_;
}

bool AppendedFile::undoAppend() {
  if (state_ == State::kAppended) {
    leftover_.appendedAt = appendedAt_;
    leftover_.appendedSize = appendedSize_;
    state_ = State::kStranded;
    return false;
  }
  if (state_ != State::kAppendedLocked) return true;
  const std::int64_t at = appendedAt_;
  const std::int64_t size = host::fileSize(fd_);
  bool undone = false;
  if (size == at + appendedSize_) {
    undone = cutBack(at, appendedSize_);
  } else {
    leftover_.appendedAt = at;
    leftover_.appendedSize = appendedSize_;
    leftover_.othersAfter = size > at + appendedSize_;
  }
  release(undone ? State::kTakenBack : State::kStranded);
  return undone;
}

// Cuts the file back to its first `at` bytes, which the run's `size` bytes
// followed; what could not be done is kept in leftover_. Never without the
// lock, under which no other run's text can follow the run's own.
bool AppendedFile::cutBack(std::int64_t at, std::int64_t size) {
  const bool locked = state_ == State::kLocked || state_ == State::kAppendedLocked;
  if (locked && at >= 0 && host::cutFile(fd_, at)) {
    if (host::syncFile(fd_)) return true;
    leftover_.cutUnconfirmed = true;
    leftover_.appendedAt = at;
    return false;
  }
  leftover_.appendedAt = at;
  leftover_.appendedSize = size;
  return false;
}

}  // namespace tornvel
