#include "platform/output_file.h"

#include <cerrno>

#include "platform/file_names.h"
#include "platform/host_files.h"
#include "platform/interrupts.h"

namespace tornvel {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

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

// Where the file name part of `path` begins: after its last separator.
std::size_t fileNameStart(const std::string& path) {
  std::size_t start = path.size();
  while (start > 0 && !host::isSeparator(path[start - 1])) --start;
  return start;
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

bool OutputFile::open(const std::string& nameAsBuilt, Mode mode) {
  discard();
  mode_ = mode;
  failed_ = false;
  direct_ = false;
  committed_ = false;
  error_ = 0;
  leftBehind_.clear();
  buffer_.clear();
  appendedAt_ = -1;
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
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    forgetTemporaryName();
    temporary_ = hiddenName(target_, attempt, "");
    interruptSlot_ = rememberTemporary(temporary_.c_str());
    fd_ = host::createNew(temporary_);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    fail();
    forgetTemporaryName();
    temporary_.clear();
    return false;
  }
  setTemporaryDescriptor(interruptSlot_, fd_);
  if (earlier.exists) host::keepOwnerAndMode(fd_, earlier);
  return true;
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
  // An appending file keeps the run's whole text for one write at its end.
  if (mode_ == Mode::kReplace && buffer_.size() >= kBufferSize) flushBuffer();
}

void OutputFile::flushBuffer() {
  std::size_t written = 0;
  if (!failed_ && !writeAll(fd_, buffer_, written)) fail();
  buffer_.clear();
}

bool OutputFile::finish() {
  if (fd_ < 0) return !failed_;
  if (mode_ == Mode::kAppend) {
    // Under the lock, no other run's lines can come between this run's lines,
    // and the length before them is the length to go back to. A file whose
    // length cannot be learnt is not written: it could not be cut back.
    const bool locked = host::lockFile(fd_, true);
    const std::int64_t before = host::fileSize(fd_);
    if (before < 0) fail();
    std::size_t written = 0;
    if (!failed_ && (!writeAll(fd_, buffer_, written) || !host::syncFile(fd_))) fail();
    if (failed_ && written > 0 && before >= 0) host::cutFile(fd_, before);
    if (!failed_) {
      appendedAt_ = before;
      appendedSize_ = static_cast<std::int64_t>(written);
    }
    if (locked) host::lockFile(fd_, false);
    buffer_.clear();
  } else {
    flushBuffer();
    if (!direct_ && !failed_ && !host::syncFile(fd_)) fail();
    if (!host::closeFile(fd_) && !direct_) fail();
    fd_ = -1;
    setTemporaryDescriptor(interruptSlot_, -1);
  }
  return !failed_;
}

bool OutputFile::commit() {
  if (mode_ == Mode::kReplace && fd_ >= 0 && !finish()) return false;
  if (temporary_.empty() || failed_) return !failed_;
  if (!host::renameOver(temporary_, target_)) return fail();
  forgetTemporaryName();
  temporary_.clear();
  committed_ = true;
  host::syncDirectory(directoryOf(target_));
  return true;
}

bool OutputFile::keepEarlier() {
  if (mode_ != Mode::kReplace || temporary_.empty() || failed_) return true;
  if (!host::statusOf(target_).exists) return true;  // nothing earlier to keep
  for (int attempt = 0; attempt < 100; ++attempt) {
    earlier_ = hiddenName(target_, attempt, "old");
    if (host::linkFile(target_, earlier_)) return true;
    if (errno != EEXIST) break;
  }
  earlier_.clear();
  return fail();
}

void OutputFile::restoreEarlier() {
  if (!committed_) return;
  if (!earlier_.empty()) {
    // Should this rename fail, the earlier file stays under its hidden name,
    // still whole.
    host::renameOver(earlier_, target_);
    earlier_.clear();
  } else {
    host::removeFile(target_);
  }
  host::syncDirectory(directoryOf(target_));
  committed_ = false;
}

bool OutputFile::dropEarlier() {
  const bool removed = earlier_.empty() || host::removeFile(earlier_);
  if (!removed) leftBehind_ = earlier_;
  earlier_.clear();
  return removed;
}

void OutputFile::undoAppend() {
  if (fd_ < 0 || appendedAt_ < 0) return;
  // Only while nothing was appended after this run's text: another run's lines
  // are never cut.
  const bool locked = host::lockFile(fd_, true);
  if (host::fileSize(fd_) == appendedAt_ + appendedSize_) {
    host::cutFile(fd_, appendedAt_);
    host::syncFile(fd_);
  }
  if (locked) host::lockFile(fd_, false);
  appendedAt_ = -1;
}

bool OutputFile::close() {
  bool ok = finish() && commit();
  discard();
  return ok;
}

void OutputFile::forgetTemporaryName() {
  forgetTemporary(interruptSlot_);
  interruptSlot_ = -1;
}

void OutputFile::discard() {
  if (fd_ >= 0) host::closeFile(fd_);
  fd_ = -1;
  if (!temporary_.empty()) host::removeFile(temporary_);
  forgetTemporaryName();
  temporary_.clear();
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
