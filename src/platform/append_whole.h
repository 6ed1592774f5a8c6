// A text appended to a file that several runs may share, as one whole: under
// the exclusive whole-file lock that the threshold file's append also takes,
// in one write at the file's end, so that runs side by side (xargs -P) each
// leave their text unbroken and in one piece.
#ifndef TORNVEL_PLATFORM_APPEND_WHOLE_H_
#define TORNVEL_PLATFORM_APPEND_WHOLE_H_

#include <string>
#include <string_view>

namespace tornvel {

struct AppendOutcome {
  // The system's reason (an errno value) when the text is not whole in the
  // file, on the disk; 0 when it is.
  int error = 0;
  // After a failure: some or all of the text stands in the file all the same
  // (it could not be taken back, or the file could not be closed after it).
  bool leftInFile = false;

  bool appended() const { return error == 0; }
};

// Appends `text` to the file at the host path `path`, creating the file when
// absent: opens it, waits for its lock, writes the text at its end (again
// after a short write, until all of it is out), syncs it, unlocks and closes
// it. A write that fails part way is cut back off the file, so that no
// broken text stays for a reader to trip over. Where the lock cannot be had
// (a file system without locks, a device), the text is still written in one
// write, but not cut back. A device or pipe is written without a sync. The
// bytes go out as given: no line end is changed. Prints nothing.
AppendOutcome appendWhole(const std::string& path, std::string_view text);

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_APPEND_WHOLE_H_
