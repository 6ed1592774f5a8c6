// An output file that is either whole or not there. A replaced file is written
// to a temporary file beside it and takes its name only once everything has
// reached the disk, so a reader, a failed run or a crash sees the earlier file
// or the complete new one. Where the host allows, the temporary file has no
// name until then and vanishes with the process, however the process ends. An
// appended file receives a run's text in one write at its end and is cut back
// to its earlier length when that write fails.
#ifndef TORNVEL_PLATFORM_OUTPUT_FILE_H_
#define TORNVEL_PLATFORM_OUTPUT_FILE_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/leftover.h"

namespace tornvel {

class OutputFile {
 public:
  enum class Mode { kReplace, kAppend };

  OutputFile() = default;
  // A file that was not committed is dropped: its temporary file is removed
  // and the earlier file stays as it was.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens a file by its name as built (back-slashes are directory separators).
  // kReplace writes a new file that replaces the named one when it is
  // committed; a name that is a symbolic link keeps its link and the file it
  // names is replaced; a name that exists and is not a regular file (a device,
  // a pipe) is written directly. kAppend creates the file when absent and
  // extends it.
  bool open(const std::string& nameAsBuilt, Mode mode);
  // For a run that writes nothing: the checks of open() that need no writing
  // (the folder exists and may be written, the name is no folder), with the
  // same failures. The file then takes and writes nothing.
  bool check(const std::string& nameAsBuilt, Mode mode);
  // True once opened, or checked (a checked file takes and writes nothing).
  bool isOpen() const { return fd_ >= 0 || checked_; }
  // True for a name that reaches a device or pipe, written as it stands.
  bool writesInPlace() const { return direct_; }

  // Every "\n" is written as the host's line end.
  void write(std::string_view text);

  // Puts everything written on the disk: a replacing file is flushed and
  // synced under its temporary name; an appending file gets the whole text in
  // one write under an exclusive lock, and is cut back to its earlier length
  // when the write fails. False when anything did not reach the file.
  bool finish();

  // A replacing file takes its name: its temporary file is given a hidden
  // name (where it had none), closed, and renamed over the target. Does
  // nothing for other files.
  bool commit();

  // True while the file is to take its name by a rename on commit.
  bool renamesOnCommit() const { return !temporary_.empty() && !failed_; }

  // For files that take their names together: before the first rename, the
  // earlier file gets a second, hidden name beside it, so that it can be put
  // back when a later file cannot take its name. Where the file system keeps
  // one name per file (exFAT, FAT, many network shares), the earlier file is
  // instead renamed to that hidden name just before the new one takes its
  // place. False when the earlier file cannot be kept either way.
  bool keepEarlier();
  // After this file took its name and a later one failed: the earlier file
  // takes its name again (or, where there was none, the new file goes). False,
  // with leftover() telling what stays where, when that failed.
  bool restoreEarlier();
  // Once every file has its name: the hidden second name goes. False when it
  // could not be removed; leftBehind() then names it.
  bool dropEarlier();
  const std::string& leftBehind() const { return leftBehind_; }

  // An appending file's exclusive lock over the whole file, taken before
  // interrupts are held (waiting for another run's append must not hold them
  // back) and kept until unlock(), so that the append and its undoing see no
  // other run's lines. False when the lock could not be had: the run's text is
  // still appended in one write, but never cut back.
  bool lock();
  void unlock();

  // An appended file that has been finished is cut back to its length before
  // the run's text, for a run that fails after the append. False, with
  // leftover() telling what stays, when the text could not be taken back.
  bool undoAppend();

  // The system's reason (an errno value) for the first failure, or 0.
  int error() const { return error_; }
  // The host path a replaced file takes its name under.
  const std::string& target() const { return target_; }
  const Leftover& leftover() const { return leftover_; }

 private:
  void reset(Mode mode);
  bool openTemporary();
  void flushBuffer();
  bool nameTemporary();
  bool putEarlierBack();
  bool cutBack(std::int64_t at, std::int64_t size);
  void removeTemporary();
  void discard();
  bool fail();

  int fd_ = -1;
  Mode mode_ = Mode::kReplace;
  bool failed_ = false;
  bool checked_ = false;    // checked only, never opened
  bool direct_ = false;     // written in place: not a regular file
  bool vanishing_ = false;  // the temporary file goes with the process until named
  bool finished_ = false;
  bool committed_ = false;
  bool earlierAside_ = false;  // the earlier file is renamed to earlier_ on commit
  bool earlierKept_ = false;   // the earlier file has the name earlier_
  bool locked_ = false;        // the appending file's lock is held
  bool lockTried_ = false;     // lock() was asked; where refused, the append goes without it
  int error_ = 0;
  int attempt_ = 0;         // the number in the temporary file's name
  int interruptSlot_ = -1;  // the named temporary file's entry for interrupts
  std::string target_;      // the path a replacing file is committed to
  std::string temporary_;   // the temporary file's hidden name, once it has one
  std::string earlier_;     // the earlier file's second name while files commit
  std::string leftBehind_;  // a second name that could not be removed
  std::string buffer_;
  std::int64_t appendedAt_ = -1;  // where the run's appended text begins
  std::int64_t appendedSize_ = 0;
  Leftover leftover_;
};

// Gives every file its name, all or none: when one cannot take its name, the
// files before it get their earlier content back. Returns the index of the
// file that failed, or -1 when every file has its name.
int commitTogether(std::initializer_list<OutputFile*> files);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_OUTPUT_FILE_H_
