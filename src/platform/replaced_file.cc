#include "platform/replaced_file.h"

#include <cerrno>

#include "platform/file_names.h"
#include "platform/file_writes.h"
#include "platform/interrupts.h"

namespace tornvel {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr int kAttempts = 100;

// The folder whose entry a rename changes.
std::string directoryOf(const std::string& path) {
  const std::string folder = folderOf(path);
  return folder.empty() ? "." : folder;
}

// A name beside `target` that no other run uses: hidden, and marked with the
// process, a counter and what it holds ("old" for the earlier file kept while
// files take their names), so that every name a run may leave behind after a
// crash reads ".NAME.tmp...".
std::string hiddenName(const std::string& target, int attempt, const char* role) {
  const std::size_t start = fileNameStart(target);
  return target.substr(0, start) + "." + target.substr(start) + ".tmp" +
         std::to_string(host::processId()) + "-" + role + std::to_string(attempt);
}

}  // namespace

ReplacedFile::~ReplacedFile() { removeTemporary(); }

Outcome ReplacedFile::open(const std::string& path, const host::FileStatus& earlier) {
  removeTemporary();
  state_ = State::kClosed;
  buffer_.clear();
  earlier_.clear();
  leftBehind_.clear();
  leftover_ = {};
  target_ = host::resolveLinks(path);
  replacesEarlier_ = earlier.exists;
  if (const int error = createTemporary(); error != 0) {
    return openFailure(Step::kCreate, error, path, Access::kWriting);
  }
  if (earlier.exists) host::keepOwnerAndMode(fd_, earlier);
  state_ = State::kWriting;
  return {};
}

// A temporary file that goes with the process where the host can make one;
// elsewhere a named one, which the run and its interrupt handler remove. It
// comes into being while interrupts are held, so that a handler finds it
// either not yet there or remembered. Returns 0 or the system's reason.
int ReplacedFile::createTemporary() {
  InterruptsHeld held;
  int error = EEXIST;
  for (attempt_ = 0; attempt_ < kAttempts && error == EEXIST; ++attempt_) {
    temporaryPath_ = hiddenName(target_, attempt_, "");
    fd_ = host::createVanishing(temporaryPath_);
    if (fd_ >= 0) {
      temporary_ = Temporary::kVanishing;
      return 0;
    }
    if (errno == EEXIST) continue;
    interruptSlot_ = rememberTemporary(temporaryPath_);
    fd_ = host::createNew(temporaryPath_);
    if (fd_ >= 0) {
      temporary_ = Temporary::kNamed;
      return 0;
    }
    error = errno;
    forgetTemporary(interruptSlot_);
    interruptSlot_ = -1;
  }
  temporaryPath_.clear();
  return error;
}

void ReplacedFile::write(std::string_view text) {
  if (state_ != State::kWriting || text.empty()) return;
  appendWithNativeLineEnds(buffer_, text);
  if (buffer_.size() >= kBufferSize) flushBuffer();
}

void ReplacedFile::flushBuffer() {
  std::size_t written = 0;
  const int error = writeAll(fd_, buffer_, written);
  buffer_.clear();
  if (error != 0) fail({Step::kWrite, error});
}

Outcome ReplacedFile::finish() {
  if (state_ == State::kFailed) return failure_;
  if (state_ != State::kWriting) return {};
  flushBuffer();
  if (state_ == State::kFailed) return failure_;
  if (!host::syncFile(fd_)) return fail(failureOf(Step::kSync));
  state_ = State::kSynced;
  return {};
}

Outcome ReplacedFile::keepEarlier() {
  if (state_ != State::kSynced) return state_ == State::kFailed ? Outcome(failure_) : Outcome();
  if (!host::statusOf(target_).exists) {
    state_ = State::kNothingEarlier;
    return {};
  }
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    earlier_ = hiddenName(target_, attempt, "old");
    if (host::linkFile(target_, earlier_)) {
      state_ = State::kEarlierLinked;
      return {};
    }
    if (errno == EEXIST) continue;
    // No second name here: the earlier file moves to the hidden name as the
    // new one takes its place, under a name that is free.
    if (host::statusOf(earlier_).exists) continue;
    state_ = State::kEarlierToMove;
    return {};
  }
  earlier_.clear();
  return fail(failureOf(Step::kKeepEarlier));
}

Outcome ReplacedFile::commit() {
  if (state_ == State::kWriting && !finish()) return failure_;
  if (state_ == State::kFailed) return failure_;
  const State from = state_;
  if (from != State::kSynced && from != State::kNothingEarlier && from != State::kEarlierLinked &&
      from != State::kEarlierToMove) {
    return {};
  }
  Step step = Step::kName;
  if (const int error = nameTemporary(step); error != 0) {
    if (from == State::kEarlierLinked) removeHiddenCopy();
    return fail({step, error});
  }
  if (from == State::kEarlierToMove && !host::renameOver(target_, earlier_)) {
    earlier_.clear();  // the earlier file never moved: its name stays its own
    return fail(failureOf(Step::kRename));
  }
  if (!host::renameOver(temporaryPath_, target_)) {
    const Failure failure = failureOf(Step::kRename);
    if (from == State::kEarlierToMove) moveEarlierBack();
    if (from == State::kEarlierLinked) removeHiddenCopy();
    return fail(failure);
  }
  forgetTemporary(interruptSlot_);
  interruptSlot_ = -1;
  temporary_ = Temporary::kNone;
  temporaryPath_.clear();
  state_ = from == State::kSynced           ? State::kNamed
           : from == State::kNothingEarlier ? State::kNamedFirst
                                            : State::kNamedEarlierKept;
  host::syncDirectory(directoryOf(target_));
  return {};
}

// The temporary file gets its hidden name, if it has none yet, and is closed:
// a failed close may be the only report of data that did not reach the disk,
// so it comes before the rename. Returns 0 or the system's reason, with the
// step that failed.
int ReplacedFile::nameTemporary(Step& step) {
  while (temporary_ == Temporary::kVanishing) {
    interruptSlot_ = rememberTemporary(temporaryPath_);
    if (host::keepVanishing(fd_, temporaryPath_)) {
      temporary_ = Temporary::kNamed;
      break;
    }
    const int error = errno;
    forgetTemporary(interruptSlot_);
    interruptSlot_ = -1;
    if (error != EEXIST || ++attempt_ >= kAttempts) {
      step = Step::kName;
      return error;
    }
    temporaryPath_ = hiddenName(target_, attempt_, "");
  }
  const bool closed = host::closeFile(fd_);
  const int error = errno;
  fd_ = -1;
  step = Step::kClose;
  return closed ? 0 : error;
}

// The earlier file, under its hidden name, takes its own again; where it cannot, it stays whole
// under its hidden name, which leftover() tells.
bool ReplacedFile::moveEarlierBack() {
  const bool back = host::renameOver(earlier_, target_);
  if (back) {
    host::syncDirectory(directoryOf(target_));
  } else {
    leftover_.earlierAt = earlier_;
  }
  earlier_.clear();
  return back;
}

bool ReplacedFile::restoreEarlier() {
  if (state_ == State::kNamedEarlierKept) {
    const bool back = moveEarlierBack();
    state_ = back ? State::kRestored : State::kStranded;
    return back;
  }
  if (state_ != State::kNamedFirst) return true;
  if (host::removeFile(target_)) {
    host::syncDirectory(directoryOf(target_));
    state_ = State::kRestored;
    return true;
  }
  leftover_.newStays = true;
  state_ = State::kStranded;
  return false;
}

bool ReplacedFile::dropEarlier() {
  switch (state_) {
    case State::kEarlierLinked:
      removeHiddenCopy();
      state_ = State::kSynced;
      break;
    case State::kNothingEarlier:
    case State::kEarlierToMove:
      // A name chosen for a move that never happened names nothing.
      earlier_.clear();
      state_ = State::kSynced;
      break;
    case State::kNamedEarlierKept:
      removeHiddenCopy();
      state_ = State::kNamed;
      break;
    case State::kNamedFirst:
      state_ = State::kNamed;
      break;
    default:
      break;
  }
  return leftBehind_.empty();
}

// The earlier file's hidden second name goes; one that cannot be removed is
// named by leftBehind().
void ReplacedFile::removeHiddenCopy() {
  if (!host::removeFile(earlier_)) leftBehind_ = earlier_;
  earlier_.clear();
}

// The file gives up: its temporary file goes, and every later call gives
// `failure` again.
Failure ReplacedFile::fail(const Failure& failure) {
  removeTemporary();
  failure_ = failure;
  state_ = State::kFailed;
  return failure;
}

void ReplacedFile::removeTemporary() {
  if (fd_ >= 0) host::closeFile(fd_);
  fd_ = -1;
  // A vanishing file goes with its descriptor; a named one by its name.
  if (temporary_ == Temporary::kNamed) host::removeFile(temporaryPath_);
  forgetTemporary(interruptSlot_);
  interruptSlot_ = -1;
  temporary_ = Temporary::kNone;
  temporaryPath_.clear();
  buffer_.clear();
}

}  // namespace tornvel
