// A file that replaces the one of its name whole or not at all. The text goes
// to a temporary file beside the target and takes the target's name only
// once everything has reached the disk, so that a reader, a failed run or a
// crash sees the earlier file or the complete new one. Where the host allows,
// the temporary file has no name until then and vanishes with the process,
// however the process ends; elsewhere it is named ".NAME.tmpPID-N" from the
// start and removed by the run or its interrupt handler.
#ifndef TORNVEL_PLATFORM_REPLACED_FILE_H_
#define TORNVEL_PLATFORM_REPLACED_FILE_H_

#include <string>
#include <string_view>

#include "platform/failure.h"
#include "platform/host_files.h"
#include "platform/leftover.h"

namespace tornvel {

class ReplacedFile {
 public:
  // The file's states, and the call that leaves each:
  //   kClosed         open → kWriting
  //   kWriting        write (a failed flush), finish → kSynced or kFailed;
  //                   commit finishes first
  //   kSynced         keepEarlier → kNothingEarlier, kEarlierLinked,
  //                   kEarlierToMove or kFailed; commit → kNamed or kFailed
  //   kNothingEarlier commit → kNamedFirst or kFailed; dropEarlier → kSynced
  //   kEarlierLinked  commit → kNamedEarlierKept or kFailed; dropEarlier → kSynced
  //   kEarlierToMove  commit → kNamedEarlierKept or kFailed; dropEarlier → kSynced
  //   kNamedFirst     restoreEarlier → kRestored or kStranded; dropEarlier → kNamed
  //   kNamedEarlierKept restoreEarlier → kRestored or kStranded; dropEarlier → kNamed
  // kNamed, kRestored, kStranded and kFailed are where a file ends; every
  // other call leaves a state as it is.
  enum class State {
    kClosed,            // not opened, or its open failed
    kWriting,           // the temporary file takes the text
    kSynced,            // the text is on the disk under the temporary file
    kNothingEarlier,    // synced, for a name that no file has yet
    kEarlierLinked,     // synced; the earlier file has a hidden second name too
    kEarlierToMove,     // synced; the earlier file moves to its hidden name at the commit
    kNamedFirst,        // has its name, which no file had before: undoing removes it
    kNamedEarlierKept,  // has its name; the earlier file waits under its hidden name
    kNamed,             // has its name for good
    kRestored,          // undone: the earlier file has its name again, or the new file went
    kStranded,          // undoing failed: leftover() tells what stays where
    kFailed,            // a step failed: the temporary file is gone, the earlier file as it was
                        // unless leftover() says otherwise
  };

  ReplacedFile() = default;
  // A file that did not take its name is dropped: its temporary file goes
  // and the earlier file stays as it was.
  ~ReplacedFile();
  ReplacedFile(const ReplacedFile&) = delete;
  ReplacedFile& operator=(const ReplacedFile&) = delete;

  // Opens the temporary file for the file at host path `path`, which reaches
  // `earlier` (host::statusOf): a regular file or nothing yet. A name that is
  // a symbolic link keeps its link, and the file it names is replaced; the
  // new file keeps the earlier one's permission bits.
  Outcome open(const std::string& path, const host::FileStatus& earlier);
  // Every "\n" is written as the host's line end.
  void write(std::string_view text);
  // Flushes and syncs the temporary file. Finishing a file again gives what
  // the first time gave.
  Outcome finish();

  // The steps of a commit; commitTogether takes a run's files through them.
  //
  // Before a file takes its name while another is still to follow: the
  // earlier file gets a second, hidden name beside it, so that it can be put
  // back when a later file cannot take its name. Where the file system keeps
  // one name per file (exFAT, FAT, many network shares), the earlier file is
  // instead renamed to that hidden name just before the new one takes its
  // place.
  Outcome keepEarlier();
  // The temporary file gets its hidden name (where it had none), is closed,
  // and is renamed over the target.
  Outcome commit();
  // After this file took its name and a later one failed: the earlier file
  // takes its name again (or, where there was none, the new file goes).
  // False, with leftover() telling what stays where, when that failed.
  bool restoreEarlier();
  // Once every file has its name: the hidden second name goes. False when it
  // could not be removed; leftBehind() then names it.
  bool dropEarlier();

  State state() const { return state_; }
  // True when a file had the name as the run began, which this one replaces.
  bool replacesEarlier() const { return replacesEarlier_; }
  // The host path the file takes its name under.
  const std::string& target() const { return target_; }
  const Leftover& leftover() const { return leftover_; }
  const std::string& leftBehind() const { return leftBehind_; }

 private:
  // The temporary file: none, one that goes with the process until it is
  // kept (Linux: without a name; Windows: marked for deletion), or one with
  // its hidden name that the run and its interrupt handler remove.
  enum class Temporary { kNone, kVanishing, kNamed };

  int createTemporary();
  void flushBuffer();
  int nameTemporary(Step& step);
  bool moveEarlierBack();
  void removeHiddenCopy();
  Failure fail(const Failure& failure);
  void removeTemporary();

  State state_ = State::kClosed;
  Temporary temporary_ = Temporary::kNone;
  int fd_ = -1;
  int attempt_ = 0;            // the number in the temporary file's name
  int interruptSlot_ = -1;     // the named temporary file's entry for interrupts
  std::string target_;         // the path the file takes its name under
  std::string temporaryPath_;  // the temporary file's hidden name
  std::string earlier_;        // the earlier file's hidden name while files commit
  std::string leftBehind_;     // a hidden name that could not be removed
  std::string buffer_;
  Failure failure_;  // why a kFailed file failed
  bool replacesEarlier_ = false;
  Leftover leftover_;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_REPLACED_FILE_H_
