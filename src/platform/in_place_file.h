// An output whose name reaches a device, a pipe or a socket (/dev/stdout,
// /dev/null, a named pipe): it cannot be replaced and is written as it
// stands. The run's text is kept until the end and written in one go, so
// that a run that ends without its outputs (a failure, --strict) has written
// nothing to it.
#ifndef TORNVEL_PLATFORM_IN_PLACE_FILE_H_
#define TORNVEL_PLATFORM_IN_PLACE_FILE_H_

#include <string>
#include <string_view>

#include "platform/failure.h"

namespace tornvel {

class InPlaceFile {
 public:
  // open: kClosed → kGathering; finish: kGathering → kWritten or kFailed.
  enum class State {
    kClosed,     // not opened
    kGathering,  // open; the text is kept for the end
    kWritten,    // the text went out and the file is closed
    kFailed,     // the text did not all go out; the file is closed
  };

  InPlaceFile() = default;
  ~InPlaceFile();
  InPlaceFile(const InPlaceFile&) = delete;
  InPlaceFile& operator=(const InPlaceFile&) = delete;

  // Opens the device or pipe at host path `path` for writing.
  Outcome open(const std::string& path);
  // Every "\n" is written as the host's line end.
  void write(std::string_view text);
  // Writes the whole text and closes the file. Once written, finishing again
  // does nothing.
  Outcome finish();

  State state() const { return state_; }

 private:
  State state_ = State::kClosed;
  int fd_ = -1;
  std::string buffer_;
  Failure failure_;  // why a kFailed file failed
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_IN_PLACE_FILE_H_
