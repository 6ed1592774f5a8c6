#include "platform/host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <string_view>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace tornvel::host {

#ifdef _WIN32
namespace {

std::wstring wideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

// errno for a failed call of the system's own interface.
void setErrnoFromLastError() {
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      errno = EACCES;
      break;
    case ERROR_DISK_FULL:
      errno = ENOSPC;
      break;
    default:
      errno = EIO;
  }
}

int openWide(const std::string& path, int flags) {
  return ::_wopen(widePath(path).c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

}  // namespace

// The wide form of a path. One whose absolute form comes near the system's
// old limit of 260 characters is given that form with the \\?\ prefix, which
// lifts the limit (a share \\server\x becomes \\?\UNC\server\x). A short
// relative name counts as long in a deep current folder, so the length that
// decides is the absolute one.
std::wstring widePath(const std::string& path) {
  std::wstring wide = wideFromUtf8(path);
  constexpr std::size_t kShortPathLimit = 240;  // room for a temporary name's suffix
  if (wide.empty() || wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0) {
    return wide;
  }
  const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0 || size - 1 < kShortPathLimit) return wide;  // the size counts the NUL
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return wide;
  full.resize(length);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::string utf8FromWide(const wchar_t* text) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), length, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(length) - 1);
  return narrow;
}

int openForReading(const std::string& path) {
  int fd = openWide(path, _O_RDONLY);
  if (fd < 0) {
    // The C library says "permission denied" for a folder; say what it is.
    if (errno == EACCES) {
      const DWORD attributes = ::GetFileAttributesW(widePath(path).c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        errno = EISDIR;
      }
    }
    return -1;
  }
  struct _stat64 info {};
  if (::_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) == _S_IFDIR) {
    ::_close(fd);
    errno = EISDIR;
    return -1;
  }
  return fd;
}
int createNew(const std::string& path) { return openWide(path, _O_WRONLY | _O_CREAT | _O_EXCL); }
int openForAppending(const std::string& path) {
  return openWide(path, _O_WRONLY | _O_CREAT | _O_APPEND);
}
int openInPlace(const std::string& path) { return openWide(path, _O_WRONLY | _O_TRUNC); }

std::ptrdiff_t readSome(int fd, char* buffer, std::size_t size) {
  unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
  return ::_read(fd, buffer, chunk);
}
std::ptrdiff_t writeSome(int fd, const char* data, std::size_t size) {
  unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
  return ::_write(fd, data, chunk);
}
bool syncFile(int fd) { return ::_commit(fd) == 0; }
bool closeFile(int fd) { return ::_close(fd) == 0; }
std::int64_t fileSize(int fd) { return ::_filelengthi64(fd); }
bool cutFile(int fd, std::int64_t size) { return ::_chsize_s(fd, size) == 0; }
bool lockFile(int fd, bool lock) {
  HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  OVERLAPPED whole{};
  if (lock) {
    return ::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) != 0;
  }
  return ::UnlockFileEx(handle, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

FileStatus statusOf(const std::string& path) {
  FileStatus status;
  const std::wstring wide = widePath(path);
  struct _stat64 info {};
  if (::_wstat64(wide.c_str(), &info) == 0) {
    // Devices (NUL, CON) answer as character devices.
    status.exists = true;
    status.regular = (info.st_mode & _S_IFMT) == _S_IFREG;
    return status;
  }
  // The C library's stat takes no \\?\ path; the system's own call does.
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return status;
  status.exists = true;
  status.regular = (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
  return status;
}

bool sameFile(const std::string& path, const std::string& otherPath) {
  auto identityOf = [](const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE handle = ::CreateFileW(widePath(name).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    bool ok = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION one{};
  BY_HANDLE_FILE_INFORMATION other{};
  if (!identityOf(path, one) || !identityOf(otherPath, other)) return false;
  return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
         one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

void keepOwnerAndMode(int, const FileStatus&) {}
std::string resolveLinks(const std::string& path) { return path; }

bool renameOver(const std::string& from, const std::string& to) {
  if (::MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
    return true;
  }
  setErrnoFromLastError();
  return false;
}
bool linkFile(const std::string& existing, const std::string& newName) {
  if (::CreateHardLinkW(widePath(newName).c_str(), widePath(existing).c_str(), nullptr) != 0) {
    return true;
  }
  setErrnoFromLastError();
  return false;
}
bool removeFile(const std::string& path) { return ::_wunlink(widePath(path).c_str()) == 0; }
void syncDirectory(const std::string&) {}
bool isSeparator(char c) { return c == '/' || c == '\\'; }
int processId() { return ::_getpid(); }

#else

namespace {

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
  status.mode = info.st_mode & 07777;
  status.owner = info.st_uid;
  status.group = info.st_gid;
  return status;
}

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

#endif

}  // namespace tornvel::host
