// A file that a run appends its text to, in one write at the end of the run
// and under an exclusive lock, so that runs side by side never interleave
// their lines. A write that fails is cut back to the file's earlier length,
// and so is a whole append that the run takes back when a later step fails.
#ifndef TORNVEL_PLATFORM_APPENDED_FILE_H_
#define TORNVEL_PLATFORM_APPENDED_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/failure.h"
#include "platform/leftover.h"

namespace tornvel {

class AppendedFile {
 public:
  // The file's states, and the call that leaves each:
  //   kClosed         open → kOpen
  //   kOpen           lock → kLocked or kLockRefused; finish as from either
  //   kLocked         finish → kAppendedLocked or kFailed; unlock → kOpen
  //   kLockRefused    finish → kAppended or kFailed; unlock → kOpen
  //   kAppendedLocked undoAppend → kTakenBack or kStranded; unlock → kAppended
  //   kAppended       undoAppend → kStranded
  // kTakenBack, kStranded and kFailed hold no lock and are where a file ends;
  // every other call leaves a state as it is.
  enum class State {
    kClosed,          // not opened
    kOpen,            // open; the run's text is gathered for one write at the end
    kLocked,          // open, under the exclusive lock
    kLockRefused,     // open; the lock could not be had: the text still goes in one
                      // write, but is never cut back
    kAppendedLocked,  // the text is in the file, still under the lock: it can be taken back
    kAppended,        // the text is in the file, and no lock guards it: it stays
    kTakenBack,       // undone: the file is back at its earlier length
    kStranded,        // undoing failed: leftover() tells what stays
    kFailed,          // the append failed: the file is back at its earlier length, unless
                      // leftover() says otherwise
  };

  AppendedFile() = default;
  ~AppendedFile();
  AppendedFile(const AppendedFile&) = delete;
  AppendedFile& operator=(const AppendedFile&) = delete;

  // Opens a file by its name as built (back-slashes are directory
  // separators), creating it when absent.
  Outcome open(const std::string& nameAsBuilt);
  // Every "\n" is written as the host's line end; all of it at finish().
  void write(std::string_view text);

  // The exclusive lock over the whole file, taken before interrupts are held
  // (waiting for another run's append must not hold them back) and kept until
  // unlock(), so that the append and its undoing see no other run's lines.
  // Asked once: a refused lock is not waited for again. True while held.
  bool lock();
  void unlock();

  // Appends the whole text in one write under the lock (taken here if it was
  // not yet) and syncs it; a write that fails is cut back to the length before
  // it. The length is learnt first: a file whose length cannot be learnt is
  // not written, for it could not be cut back.
  Outcome finish();

  // Cuts the file back to its length before the run's text, for a run that
  // fails after the append. Only under the lock held since before the append,
  // and only while nothing follows the run's text: another run's lines are
  // never cut. False, with leftover() telling what stays, when the text could
  // not be taken back.
  bool undoAppend();

  State state() const { return state_; }
  const Leftover& leftover() const { return leftover_; }

 private:
  bool cutBack(std::int64_t at, std::int64_t size);
  void release(State next);

  State state_ = State::kClosed;
  int fd_ = -1;
  std::string buffer_;
  std::int64_t appendedAt_ = -1;  // where the run's appended text begins
  std::int64_t appendedSize_ = 0;
  Failure failure_;  // why a kFailed file failed
  Leftover leftover_;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_APPENDED_FILE_H_
