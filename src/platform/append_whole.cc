#include "platform/append_whole.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>

#include "platform/host_files.h"

namespace tornvel {
namespace {

// Writes all of `text`; false on the first failure, errno telling why and
// `written` how much went out before it.
bool writeAll(int fd, std::string_view text, std::size_t& written) {
  written = 0;
  while (written < text.size()) {
    const std::ptrdiff_t count = host::writeSome(fd, text.data() + written, text.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count == 0) errno = ENOSPC;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

// What stays of a failed append of which `written` bytes went out: cut back
// to the file's earlier length where that is known and no other run can have
// appended since (the lock is held), else left in the file.
bool leftAfterFailure(int fd, std::size_t written, bool locked, std::int64_t before) {
  if (written == 0) return false;
  return !(locked && before >= 0 && host::cutFile(fd, before) && host::syncFile(fd));
}

}  // namespace

AppendOutcome appendWhole(const std::string& path, std::string_view text) {
  AppendOutcome outcome;
  const host::FileStatus status = host::statusOf(path);
  // A file that is not there yet is created as a regular file.
  const bool regular = !status.exists || status.regular;
  const int fd = host::openForAppending(path);
  if (fd < 0) {
    outcome.error = errno;
    return outcome;
  }
  const bool locked = host::lockFile(fd, true);
  // Under the lock, the length now is where the text begins; a file whose
  // length cannot be learnt is written all the same, but not cut back.
  const std::int64_t before = regular ? host::fileSize(fd) : -1;
  std::size_t written = 0;
  bool whole = writeAll(fd, text, written);
  if (whole && regular && !host::syncFile(fd)) whole = false;
  if (!whole) {
    outcome.error = errno;
    outcome.leftInFile = leftAfterFailure(fd, written, locked, before);
  }
  if (locked) host::lockFile(fd, false);
  // A failed close may be the only report of a write that did not reach the
  // file; the text may stand in it all the same.
  if (!host::closeFile(fd) && outcome.error == 0) {
    outcome.error = errno;
    outcome.leftInFile = true;
  }
  return outcome;
}

}  // namespace tornvel
