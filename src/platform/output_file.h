// An output file that is either whole or not there. A replaced file is written
// under a temporary name beside it and takes its name only once everything has
// reached the disk, so a reader, a failed run or a crash sees the earlier file
// or the complete new one. An appended file receives a run's text in one write
// at its end and is cut back to its earlier length when that write fails.
#ifndef TORNVEL_PLATFORM_OUTPUT_FILE_H_
#define TORNVEL_PLATFORM_OUTPUT_FILE_H_

#include <cstdint>
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

  // An appended file that has been finished is cut back to its length before
  // the run's text, for a run that fails after the append.
  void undoAppend();

  // finish() and commit() together.
  bool close();

 private:
  void flushBuffer();
  void discard();

  int fd_ = -1;
  Mode mode_ = Mode::kReplace;
  bool failed_ = false;
  bool direct_ = false;    // written in place: not a regular file
  std::string target_;     // the path a replacing file is committed to
  std::string temporary_;  // the path written until the commit
  std::string buffer_;
  std::int64_t appendedAt_ = -1;  // where the run's appended text begins
  std::int64_t appendedSize_ = 0;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_OUTPUT_FILE_H_
