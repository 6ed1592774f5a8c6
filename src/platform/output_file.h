// An output file that is either whole or not there. A replaced file is written
// under a temporary name beside it and takes its name only once everything has
// reached the disk, so a reader, a failed run or a crash sees the earlier file
// or the complete new one. An appended file receives a run's text in one write
// at its end and is cut back to its earlier length when that write fails.
#ifndef TORNVEL_PLATFORM_OUTPUT_FILE_H_
#define TORNVEL_PLATFORM_OUTPUT_FILE_H_

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

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
  bool isOpen() const { return fd_ >= 0; }

  // Every "\n" is written as the host's line end.
  void write(std::string_view text);

  // Puts everything written on the disk: a replacing file is flushed, synced
  // and closed under its temporary name; an appending file gets the whole text
  // in one write under an exclusive lock, and is cut back to its earlier
  // length when the write fails. False when anything did not reach the file.
  bool finish();

  // A replacing file takes its name. Does nothing for other files.
  bool commit();

  // True while the file is to take its name by a rename on commit.
  bool renamesOnCommit() const { return !temporary_.empty() && !failed_; }

  // For files that take their names together: before the first rename, the
  // earlier file gets a second, hidden name beside it, so that it can be put
  // back when a later file cannot take its name. False when the earlier file
  // cannot be kept that way (nothing has been renamed then).
  bool keepEarlier();
  // After this file took its name and a later one failed: the earlier file
  // takes its name again (or, where there was none, the new file goes).
  void restoreEarlier();
  // Once every file has its name: the hidden second name goes. False when it
  // could not be removed; leftBehind() then names it.
  bool dropEarlier();
  const std::string& leftBehind() const { return leftBehind_; }

  // An appended file that has been finished is cut back to its length before
  // the run's text, for a run that fails after the append.
  void undoAppend();

  // finish() and commit() together.
  bool close();

  // The system's reason (an errno value) for the first failure, or 0.
  int error() const { return error_; }

 private:
  void flushBuffer();
  void discard();
  bool fail();
  void forgetTemporaryName();

  int fd_ = -1;
  Mode mode_ = Mode::kReplace;
  bool failed_ = false;
  bool direct_ = false;  // written in place: not a regular file
  bool committed_ = false;
  int error_ = 0;
  int interruptSlot_ = -1;  // the temporary file's entry for interrupts
  std::string target_;      // the path a replacing file is committed to
  std::string temporary_;   // the path written until the commit
  std::string earlier_;     // the earlier file's second name while files commit
  std::string leftBehind_;  // a second name that could not be removed
  std::string buffer_;
  std::int64_t appendedAt_ = -1;  // where the run's appended text begins
  std::int64_t appendedSize_ = 0;
};

// Gives every file its name, all or none: when one cannot take its name, the
// files before it get their earlier content back. Returns the index of the
// file that failed, or -1 when every file has its name.
int commitTogether(std::initializer_list<OutputFile*> files);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_OUTPUT_FILE_H_
