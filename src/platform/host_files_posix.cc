// The host's file calls on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/host_files.h"

namespace tornvel::host {
namespace {

// The name under which the kernel shows an open descriptor.
std::string descriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

int openWith(const std::string& path, int flags) {
  return ::open(path.c_str(), flags | O_CLOEXEC, 0666);  // narrowed by the umask
}

// The descriptor a name of the form /dev/fd/N, /proc/self/fd/N, /dev/stdout or
// /dev/stderr stands for, or -1. Such a name cannot be opened when it reaches
// a socket; the descriptor itself is written instead.
int descriptorNamed(std::string_view path) {
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    if (path.substr(0, prefix.size()) != prefix || path.size() == prefix.size()) continue;
    int fd = 0;
    for (char c : path.substr(prefix.size())) {
      if (c < '0' || c > '9' || fd > 100000) return -1;
      fd = fd * 10 + (c - '0');
    }
    return fd;
  }
  return -1;
}

}  // namespace

int openForReading(const std::string& path) {
  int fd = openWith(path, O_RDONLY);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    const int reason = S_ISDIR(info.st_mode) ? EISDIR : errno;
    ::close(fd);
    errno = reason;
    return -1;
  }
  return fd;
}
int createNew(const std::string& path) { return openWith(path, O_WRONLY | O_CREAT | O_EXCL); }

// Linux makes a file without a name in a folder (O_TMPFILE) and links it into
// that folder later through /proc. Where the file system or the kernel has no
// such files, or /proc is not there to link them, the caller takes a named
// file instead.
int createVanishing(const std::string& path) {
#ifdef O_TMPFILE
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = openWith(folder, O_TMPFILE | O_WRONLY);
  if (fd < 0) return -1;
  if (::access(descriptorPath(fd).c_str(), F_OK) != 0) {
    const int reason = errno;
    ::close(fd);
    errno = reason;
    return -1;
  }
  return fd;
#else
  (void)path;
  errno = EOPNOTSUPP;
  return -1;
#endif
}

bool keepVanishing(int fd, const std::string& path) {
  return ::linkat(AT_FDCWD, descriptorPath(fd).c_str(), AT_FDCWD, path.c_str(),
                  AT_SYMLINK_FOLLOW) == 0;
}
int openForAppending(const std::string& path) {
  return openWith(path, O_WRONLY | O_CREAT | O_APPEND);
}
int openInPlace(const std::string& path) {
  int fd = openWith(path, O_WRONLY | O_TRUNC);
  if (fd >= 0 || errno != ENXIO) return fd;
  const int named = descriptorNamed(path);
  return named >= 0 ? ::fcntl(named, F_DUPFD_CLOEXEC, 0) : -1;
}

std::ptrdiff_t readSome(int fd, char* buffer, std::size_t size) { return ::read(fd, buffer, size); }
std::ptrdiff_t writeSome(int fd, const char* data, std::size_t size) {
  return ::write(fd, data, size);
}
bool syncFile(int fd) { return ::fsync(fd) == 0; }
// A failed close may be the only report of a write that did not reach the
// disk; an interrupted one has closed the descriptor all the same.
bool closeFile(int fd) { return ::close(fd) == 0 || errno == EINTR; }
std::int64_t fileSize(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 ? static_cast<std::int64_t>(status.st_size) : -1;
}
bool cutFile(int fd, std::int64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)) == 0; }
bool lockFile(int fd, bool lock) {
  int result;
  do {
    result = ::flock(fd, lock ? LOCK_EX : LOCK_UN);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

FileStatus statusOf(const std::string& path) {
  FileStatus status;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return status;
  status.exists = true;
  status.regular = S_ISREG(info.st_mode);
  status.directory = S_ISDIR(info.st_mode);
  status.mode = info.st_mode & 07777;
  status.owner = info.st_uid;
  status.group = info.st_gid;
  return status;
}

std::string errorText(int error) { return std::strerror(error); }

int writeAccess(const std::string& path) { return ::access(path.c_str(), W_OK) == 0 ? 0 : errno; }

bool sameFile(const std::string& path, const std::string& otherPath) {
  struct stat one {};
  struct stat other {};
  if (::stat(path.c_str(), &one) != 0 || ::stat(otherPath.c_str(), &other) != 0) return false;
  return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

void keepOwnerAndMode(int fd, const FileStatus& earlier) {
  if (::fchown(fd, earlier.owner, earlier.group) != 0) {
    // Only a privileged run may give a file away; the mode still applies.
  }
  ::fchmod(fd, earlier.mode);
}

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

bool renameOver(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}
bool linkFile(const std::string& existing, const std::string& newName) {
  return ::link(existing.c_str(), newName.c_str()) == 0;
}
bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }
void syncDirectory(const std::string& directory) {
  int fd = ::open(directory.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
bool isSeparator(char c) { return c == '/'; }
int processId() { return static_cast<int>(::getpid()); }

}  // namespace tornvel::host
