#include "platform/in_place_file.h"

#include "platform/file_writes.h"
#include "platform/host_files.h"

namespace tornvel {

InPlaceFile::~InPlaceFile() {
  if (fd_ >= 0) host::closeFile(fd_);
}

Outcome InPlaceFile::open(const std::string& path) {
  if (fd_ >= 0) host::closeFile(fd_);
  buffer_.clear();
  state_ = State::kClosed;
  fd_ = host::openInPlace(path);
  if (fd_ < 0) return openFailure(Step::kOpen, errno, path, Access::kWriting);
  state_ = State::kGathering;
  return {};
}

void InPlaceFile::write(std::string_view text) {
  if (state_ == State::kGathering) appendWithNativeLineEnds(buffer_, text);
}

Outcome InPlaceFile::finish() {
  if (state_ == State::kWritten || state_ == State::kClosed) return {};
  if (state_ == State::kFailed) return failure_;
  std::size_t written = 0;
  const int error = writeAll(fd_, buffer_, written);
  buffer_.clear();
  // What a device or a pipe does with a close is its own affair.
  host::closeFile(fd_);
  fd_ = -1;
  if (error == 0) {
    state_ = State::kWritten;
    return {};
  }
  state_ = State::kFailed;
  failure_ = Failure{Step::kWrite, error};
  return failure_;
}

}  // namespace tornvel
