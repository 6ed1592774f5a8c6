#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>

#include "platform/file_names.h"

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tornvel {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// What the host provides for writing files, behind one set of names.
#ifdef _WIN32
constexpr int kOpenFlags = _O_BINARY | _O_NOINHERIT;
constexpr int kNewFileMode = _S_IREAD | _S_IWRITE;
int openFile(const std::string& path, int flags) {
  return ::_open(path.c_str(), flags | kOpenFlags, kNewFileMode);
}
long writeSome(int fd, const char* data, std::size_t size) {
  unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
  return ::_write(fd, data, chunk);
}
bool syncFile(int fd) { return ::_commit(fd) == 0; }
void closeFile(int fd) { ::_close(fd); }
void removeFile(const std::string& path) { ::_unlink(path.c_str()); }
bool renameOver(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
std::int64_t fileSize(int fd) { return ::_filelengthi64(fd); }
bool cutFile(int fd, std::int64_t size) { return ::_chsize_s(fd, size) == 0; }
bool lockFile(int fd, bool lock) {
  HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  OVERLAPPED whole{};
  if (lock)
    return ::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
  return ::UnlockFileEx(handle, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}
int processId() { return ::_getpid(); }
bool isSeparator(char c) { return c == '/' || c == '\\'; }
// Links are not followed on this host: the name itself is replaced.
std::string resolveLinks(const std::string& path) { return path; }
void syncDirectory(const std::string&) {}
void keepOwnerAndMode(int, const struct _stat64&) {}
using FileStatus = struct _stat64;
bool statusOf(const std::string& path, FileStatus& status) {
  return ::_stat64(path.c_str(), &status) == 0;
}
bool isRegular(const FileStatus& status) { return (status.st_mode & _S_IFMT) == _S_IFREG; }
#else
constexpr int kOpenFlags = O_CLOEXEC;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask, as for any new file
int openFile(const std::string& path, int flags) {
  return ::open(path.c_str(), flags | kOpenFlags, kNewFileMode);
}
long writeSome(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
bool syncFile(int fd) { return ::fsync(fd) == 0; }
void closeFile(int fd) { ::close(fd); }
void removeFile(const std::string& path) { ::unlink(path.c_str()); }
bool renameOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}
std::int64_t fileSize(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 ? static_cast<std::int64_t>(status.st_size) : -1;
}
bool cutFile(int fd, std::int64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0; }
bool lockFile(int fd, bool lock) { return ::flock(fd, lock ? LOCK_EX : LOCK_UN) == 0; }
int processId() { return static_cast<int>(::getpid()); }
bool isSeparator(char c) { return c == '/'; }

// The file a name stands for once every symbolic link on its last part is
// followed, so that a link keeps pointing at the file that is replaced.
std::string resolveLinks(const std::string& path) {
  std::string resolved = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(resolved.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return resolved;
    std::string target(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 255) + 1,
                       '\0');
    ssize_t length = ::readlink(resolved.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return resolved;
    target.resize(static_cast<std::size_t>(length));
    std::size_t slash = resolved.rfind('/');
    if (target.front() != '/' && slash != std::string::npos) {
      target.insert(0, resolved.substr(0, slash + 1));
    }
    resolved = target;
  }
  return resolved;
}

// A rename is on the disk only once its directory is.
void syncDirectory(const std::string& directory) {
  int fd = ::open(directory.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

using FileStatus = struct stat;
bool statusOf(const std::string& path, FileStatus& status) {
  return ::stat(path.c_str(), &status) == 0;
}
bool isRegular(const FileStatus& status) { return S_ISREG(status.st_mode); }

// The new file keeps the permission bits (and, where allowed, the owner) of
// the file it replaces.
void keepOwnerAndMode(int fd, const FileStatus& earlier) {
  if (::fchown(fd, earlier.st_uid, earlier.st_gid) != 0) {
    // Only a privileged run may give a file away; the mode still applies.
  }
  ::fchmod(fd, earlier.st_mode & 07777);
}
#endif

// Writes all of `data`; false on the first failure, with `written` telling how
// much went out before it.
bool writeAll(int fd, std::string_view data, std::size_t& written) {
  written = 0;
  while (written < data.size()) {
    long count = writeSome(fd, data.data() + written, data.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

// Where the file name part of `path` begins: after its last separator.
std::size_t fileNameStart(const std::string& path) {
  std::size_t start = path.size();
  while (start > 0 && !isSeparator(path[start - 1])) --start;
  return start;
}

std::string directoryOf(const std::string& path) {
  const std::size_t start = fileNameStart(path);
  if (start == 0) return ".";
  return path.substr(0, start == 1 ? 1 : start - 1);
}

// A name beside `target` that no other run uses: hidden, and marked with the
// process and a counter.
std::string temporaryName(const std::string& target, int attempt) {
  const std::size_t start = fileNameStart(target);
  return target.substr(0, start) + "." + target.substr(start) + ".tmp" +
         std::to_string(processId()) + "-" + std::to_string(attempt);
}

}  // namespace

OutputFile::~OutputFile() { discard(); }

bool OutputFile::open(const std::string& nameAsBuilt, Mode mode) {
  discard();
  mode_ = mode;
  failed_ = false;
  direct_ = false;
  buffer_.clear();
  appendedAt_ = -1;
  const std::string path = hostPath(nameAsBuilt);
  if (mode == Mode::kAppend) {
    fd_ = openFile(path, O_WRONLY | O_CREAT | O_APPEND);
    return fd_ >= 0;
  }
  target_ = resolveLinks(path);
  FileStatus earlier{};
  const bool exists = statusOf(target_, earlier);
  if (exists && !isRegular(earlier)) {
    // A device or a pipe cannot be replaced: it is written as it stands.
    direct_ = true;
    fd_ = openFile(target_, O_WRONLY | O_CREAT | O_TRUNC);
    return fd_ >= 0;
  }
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = temporaryName(target_, attempt);
    fd_ = openFile(temporary_, O_WRONLY | O_CREAT | O_EXCL);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temporary_.clear();
    return false;
  }
  if (exists) keepOwnerAndMode(fd_, earlier);
  return true;
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
  if (!failed_ && !writeAll(fd_, buffer_, written)) failed_ = true;
  buffer_.clear();
}

bool OutputFile::finish() {
  if (fd_ < 0) return !failed_;
  if (mode_ == Mode::kAppend) {
    // Under the lock, no other run's lines can come between this run's lines,
    // and the length before them is the length to go back to.
    const bool locked = lockFile(fd_, true);
    const std::int64_t before = fileSize(fd_);
    std::size_t written = 0;
    if (!failed_ && (!writeAll(fd_, buffer_, written) || !syncFile(fd_))) failed_ = true;
    if (failed_ && written > 0 && before >= 0) cutFile(fd_, before);
    if (!failed_) {
      appendedAt_ = before;
      appendedSize_ = static_cast<std::int64_t>(written);
    }
    if (locked) lockFile(fd_, false);
    buffer_.clear();
  } else {
    flushBuffer();
    if (!direct_ && !failed_ && !syncFile(fd_)) failed_ = true;
    closeFile(fd_);
    fd_ = -1;
  }
  return !failed_;
}

bool OutputFile::commit() {
  if (mode_ == Mode::kReplace && fd_ >= 0 && !finish()) return false;
  if (temporary_.empty() || failed_) return !failed_;
  if (!renameOver(temporary_, target_)) {
    failed_ = true;
    return false;
  }
  temporary_.clear();
  syncDirectory(directoryOf(target_));
  return true;
}

void OutputFile::undoAppend() {
  if (fd_ < 0 || appendedAt_ < 0) return;
  // Only while nothing was appended after this run's text: another run's lines
  // are never cut.
  const bool locked = lockFile(fd_, true);
  if (fileSize(fd_) == appendedAt_ + appendedSize_) {
    cutFile(fd_, appendedAt_);
    syncFile(fd_);
  }
  if (locked) lockFile(fd_, false);
  appendedAt_ = -1;
}

bool OutputFile::close() {
  bool ok = finish() && commit();
  discard();
  return ok;
}

void OutputFile::discard() {
  if (fd_ >= 0) closeFile(fd_);
  fd_ = -1;
  if (!temporary_.empty()) removeFile(temporary_);
  temporary_.clear();
  buffer_.clear();
}

}  // namespace tornvel
