#include "platform/output_file.h"

#include <cerrno>

#include "platform/file_names.h"
#include "platform/host_files.h"
#include "platform/interrupts.h"

namespace tornvel {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr int kAttempts = 100;

// Writes all of `data`; false on the first failure, with `written` telling how
// much went out before it.
bool writeAll(int fd, std::string_view data, std::size_t& written) {
  written = 0;
  while (written < data.size()) {
    std::ptrdiff_t count = host::writeSome(fd, data.data() + written, data.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count == 0) errno = ENOSPC;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

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

OutputFile::~OutputFile() { discard(); }

void OutputFile::reset(Mode mode) {
  discard();
  mode_ = mode;
  failed_ = checked_ = direct_ = vanishing_ = finished_ = committed_ = earlierAside_ =
      earlierKept_ = locked_ = lockTried_ = false;
  error_ = 0;
  target_.clear();
  earlier_.clear();
  leftBehind_.clear();
  leftover_ = {};
  appendedAt_ = -1;
}

bool OutputFile::check(const std::string& nameAsBuilt, Mode mode) {
  reset(mode);
  checked_ = true;
  const std::string path = hostPath(nameAsBuilt);
  const host::FileStatus status = host::statusOf(path);
  if (status.directory) {
    errno = EISDIR;
    return fail();
  }
  if (status.exists && !status.regular) {
    direct_ = true;  // a device or pipe, written as it stands
    return true;
  }
  if (status.exists && mode == Mode::kAppend) {
    errno = host::writeAccess(path);
    return errno == 0 || fail();
  }
  const std::string folder = directoryOf(host::resolveLinks(path));
  if (!host::statusOf(folder).directory) {
    errno = ENOENT;
    return fail();
  }
  errno = host::writeAccess(folder);
  return errno == 0 || fail();
}

bool OutputFile::open(const std::string& nameAsBuilt, Mode mode) {
  reset(mode);
  const std::string path = hostPath(nameAsBuilt);
  if (mode == Mode::kAppend) {
    fd_ = host::openForAppending(path);
    return fd_ >= 0 || fail();
  }
  // What the name reaches decides, not the text of its links: a device, a
  // pipe or a socket (/dev/stdout, /dev/null, a named pipe) cannot be
  // replaced and is written as it stands.
  const host::FileStatus earlier = host::statusOf(path);
  if (earlier.exists && !earlier.regular) {
    direct_ = true;
    fd_ = host::openInPlace(path);
    return fd_ >= 0 || fail();
  }
  // A symbolic link keeps pointing at the file that is replaced.
  target_ = host::resolveLinks(path);
  if (!openTemporary()) return false;
  if (earlier.exists) host::keepOwnerAndMode(fd_, earlier);
  return true;
}

// A temporary file that goes with the process where the host can make one;
// elsewhere a named one, which the run and its interrupt handler remove. It
// comes into being while interrupts are held, so that a handler finds it
// either not yet there or remembered.
bool OutputFile::openTemporary() {
  InterruptsHeld held;
  for (attempt_ = 0; attempt_ < kAttempts; ++attempt_) {
    temporary_ = hiddenName(target_, attempt_, "");
    fd_ = host::createVanishing(temporary_);
    if (fd_ >= 0) {
      vanishing_ = true;
      return true;
    }
    if (errno == EEXIST) continue;
    interruptSlot_ = rememberTemporary(temporary_);
    fd_ = host::createNew(temporary_);
    if (fd_ >= 0) return true;
    const int reason = errno;
    forgetTemporary(interruptSlot_);
    interruptSlot_ = -1;
    errno = reason;
    if (errno != EEXIST) break;
  }
  fail();
  temporary_.clear();
  return false;
}

// Records the first failure and its reason; always false.
bool OutputFile::fail() {
  if (!failed_) error_ = errno;
  failed_ = true;
  return false;
}

void OutputFile::write(std::string_view text) {
  if (fd_ < 0 || failed_ || text.empty()) return;
#ifdef _WIN32
  for (char c : text) {
    if (c == '\n') buffer_.push_back('\r');
    buffer_.push_back(c);
  }
#else
  buffer_.append(text);
#endif
  // An appending file keeps the run's whole text for one write at its end; so
  // does a device or pipe, which a run that ends without its outputs (a
  // failure, --strict) must not have written to.
  if (mode_ == Mode::kReplace && !direct_ && buffer_.size() >= kBufferSize) flushBuffer();
}

void OutputFile::flushBuffer() {
  std::size_t written = 0;
  if (!failed_ && !writeAll(fd_, buffer_, written)) fail();
  buffer_.clear();
}

bool OutputFile::finish() {
  if (fd_ < 0 || finished_) return !failed_;
  finished_ = true;
  if (mode_ == Mode::kAppend) {
    // Under the lock, no other run's lines can come between this run's lines,
    // and the length before them is the length to go back to. A file whose
    // length cannot be learnt is not written: it could not be cut back.
    lock();
    const std::int64_t before = host::fileSize(fd_);
    if (before < 0) fail();
    std::size_t written = 0;
    if (!failed_ && (!writeAll(fd_, buffer_, written) || !host::syncFile(fd_))) fail();
    const auto size = static_cast<std::int64_t>(written);
    if (failed_ && written > 0) cutBack(before, size);
    if (!failed_) {
      appendedAt_ = before;
      appendedSize_ = size;
    }
    buffer_.clear();
    return !failed_;
  }
  flushBuffer();
  if (direct_) {
    // A device or a pipe: what it does with a close is its own affair.
    host::closeFile(fd_);
    fd_ = -1;
  } else if (!failed_ && !host::syncFile(fd_)) {
    fail();
  }
  return !failed_;
}

bool OutputFile::commit() {
  if (mode_ != Mode::kReplace) return !failed_;
  if (temporary_.empty()) return finish();  // never opened, or written in place
  if (!finish()) return false;
  if (!nameTemporary()) {
    fail();
    removeTemporary();
    return false;
  }
  if (earlierAside_) {
    if (!host::renameOver(target_, earlier_)) {
      fail();
      removeTemporary();
      return false;
    }
    earlierKept_ = true;
  }
  if (!host::renameOver(temporary_, target_)) {
    fail();
    if (earlierAside_) putEarlierBack();
    removeTemporary();
    return false;
  }
  forgetTemporary(interruptSlot_);
  interruptSlot_ = -1;
  temporary_.clear();
  committed_ = true;
  host::syncDirectory(directoryOf(target_));
  return true;
}

// The temporary file gets its hidden name, if it has none yet, and is closed:
// a failed close may be the only report of data that did not reach the disk,
// so it comes before the rename.
bool OutputFile::nameTemporary() {
  while (vanishing_) {
    interruptSlot_ = rememberTemporary(temporary_);
    if (host::keepVanishing(fd_, temporary_)) {
      vanishing_ = false;
      break;
    }
    const int reason = errno;
    forgetTemporary(interruptSlot_);
    interruptSlot_ = -1;
    errno = reason;
    if (errno != EEXIST || ++attempt_ >= kAttempts) return false;
    temporary_ = hiddenName(target_, attempt_, "");
  }
  const bool closed = host::closeFile(fd_);
  fd_ = -1;
  return closed;
}

bool OutputFile::keepEarlier() {
  if (!renamesOnCommit()) return true;
  if (!host::statusOf(target_).exists) return true;  // nothing earlier to keep
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    earlier_ = hiddenName(target_, attempt, "old");
    if (host::linkFile(target_, earlier_)) {
      earlierKept_ = true;
      return true;
    }
    if (errno == EEXIST) continue;
    // No second name here: the earlier file moves to the hidden name as the
    // new one takes its place, under a name that is free.
    if (host::statusOf(earlier_).exists) continue;
    earlierAside_ = true;
    return true;
  }
  earlier_.clear();
  return fail();
}

bool OutputFile::restoreEarlier() {
  if (!committed_) return true;
  committed_ = false;
  if (earlierKept_) return putEarlierBack();
  if (host::removeFile(target_)) {
    host::syncDirectory(directoryOf(target_));
    return true;
  }
  leftover_.newStays = true;
  return false;
}

// The earlier file takes its name again; where it cannot, it stays whole
// under its hidden name, which leftover() tells, and no later step removes it.
bool OutputFile::putEarlierBack() {
  const bool back = host::renameOver(earlier_, target_);
  if (back) {
    host::syncDirectory(directoryOf(target_));
  } else {
    leftover_.earlierAt = earlier_;
  }
  earlier_.clear();
  earlierKept_ = false;
  return back;
}

// Only a copy that exists goes: a name chosen for a rename aside that never
// happened names nothing.
bool OutputFile::dropEarlier() {
  const bool removed = !earlierKept_ || host::removeFile(earlier_);
  if (!removed) leftBehind_ = earlier_;
  earlier_.clear();
  earlierKept_ = false;
  return removed;
}

bool OutputFile::lock() {
  // Asked once: a refused lock is not waited for again.
  if (mode_ != Mode::kAppend || fd_ < 0 || lockTried_) return locked_;
  lockTried_ = true;
  locked_ = host::lockFile(fd_, true);
  return locked_;
}

void OutputFile::unlock() {
  if (locked_) host::lockFile(fd_, false);
  locked_ = lockTried_ = false;
}

bool OutputFile::undoAppend() {
  if (fd_ < 0 || appendedAt_ < 0) return true;
  const std::int64_t at = appendedAt_;
  appendedAt_ = -1;
  // Only under the lock, held since before the append, and only while nothing
  // was appended after this run's text: another run's lines are never cut.
  if (!locked_) {
    leftover_.appendedAt = at;
    leftover_.appendedSize = appendedSize_;
    return false;
  }
  const std::int64_t size = host::fileSize(fd_);
  if (size == at + appendedSize_) return cutBack(at, appendedSize_);
  leftover_.appendedAt = at;
  leftover_.appendedSize = appendedSize_;
  leftover_.othersAfter = size > at + appendedSize_;
  return false;
}

// Cuts an appended file back to its first `at` bytes, which the run's `size`
// bytes followed; what could not be done is kept in leftover_. Never without
// the lock, under which no other run's text can follow the run's own.
bool OutputFile::cutBack(std::int64_t at, std::int64_t size) {
  if (locked_ && at >= 0 && host::cutFile(fd_, at)) {
    if (host::syncFile(fd_)) return true;
    leftover_.cutUnconfirmed = true;
    leftover_.appendedAt = at;
    return false;
  }
  leftover_.appendedAt = at;
  leftover_.appendedSize = size;
  return false;
}

void OutputFile::removeTemporary() {
  if (fd_ >= 0) host::closeFile(fd_);
  fd_ = -1;
  // A vanishing file goes with its descriptor; a named one by its name.
  if (!temporary_.empty() && !vanishing_) host::removeFile(temporary_);
  forgetTemporary(interruptSlot_);
  interruptSlot_ = -1;
  temporary_.clear();
  vanishing_ = false;
}

void OutputFile::discard() {
  if (mode_ == Mode::kReplace && !temporary_.empty()) {
    removeTemporary();
  } else if (fd_ >= 0) {
    host::closeFile(fd_);
    fd_ = -1;
  }
  buffer_.clear();
}

int commitTogether(std::initializer_list<OutputFile*> files) {
  // Every file that renames before another keeps its earlier version until
  // the last one has its name.
  const OutputFile* last = nullptr;
  for (OutputFile* file : files) {
    if (file->renamesOnCommit()) last = file;
  }
  int failed = -1;
  int index = 0;
  for (OutputFile* file : files) {
    if (file != last && !file->keepEarlier()) {
      failed = index;
      break;
    }
    ++index;
  }
  index = 0;
  for (OutputFile* file : files) {
    if (failed >= 0) break;
    if (!file->commit()) {
      failed = index;
      for (OutputFile* before : files) {
        if (before == file) break;
        before->restoreEarlier();
      }
    }
    ++index;
  }
  for (OutputFile* file : files) file->dropEarlier();
  return failed;
}

}  // namespace tornvel
