// The host's file calls on Windows: the wide-character interface, with long
// paths in their "\\?\" form.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/host_files.h"

namespace tornvel::host {

namespace {

std::wstring wideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

// A system error that the C library has no errno value for is carried as
// this base plus the system's code, so that errorText can give its words.
constexpr int kSystemErrorBase = 0x10000;

void setErrnoFromLastError() { errno = errorFromSystem(::GetLastError()); }

int openWide(const std::string& path, int flags) {
  return ::_wopen(widePath(path).c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

// A new file for writing, as a C runtime descriptor. Others may read it, and
// it may be deleted by name while it is open (the interrupt handler does so).
int createWithHandle(const std::string& path, DWORD access) {
  HANDLE handle = ::CreateFileW(widePath(path).c_str(), GENERIC_WRITE | access,
                                FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    setErrnoFromLastError();
    return -1;
  }
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(handle);
    ::DeleteFileW(widePath(path).c_str());
    errno = EMFILE;
  }
  return fd;
}

// Marks an open file for deletion when its last handle closes, or calls that
// off.
bool setDeletion(int fd, bool remove) {
  FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(remove ? TRUE : FALSE)};
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) !=
      0) {
    return true;
  }
  setErrnoFromLastError();
  return false;
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

int errorFromSystem(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    default:
      return kSystemErrorBase + static_cast<int>(code);
  }
}

std::string errorText(int error) {
  if (error < kSystemErrorBase) return std::strerror(error);
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error - kSystemErrorBase), 0, reinterpret_cast<wchar_t*>(&text),
      0, nullptr);
  std::string words = length > 0 ? utf8FromWide(text) : std::string();
  if (text != nullptr) ::LocalFree(text);
  // The system's sentences end with a full stop and a line end.
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == '.')) {
    words.pop_back();
  }
  return words.empty() ? "system error " + std::to_string(error - kSystemErrorBase) : words;
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
int createNew(const std::string& path) { return createWithHandle(path, 0); }

// The file has its name from the start, marked for deletion, so that the
// system removes it when the process ends, by Ctrl-C, `taskkill /F` or a
// closed console window alike.
int createVanishing(const std::string& path) {
  const int fd = createWithHandle(path, DELETE);
  if (fd < 0 || setDeletion(fd, true)) return fd;
  const int reason = errno;
  ::_close(fd);
  ::DeleteFileW(widePath(path).c_str());
  errno = reason;
  return -1;
}

bool keepVanishing(int fd, const std::string&) { return setDeletion(fd, false); }
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
    status.directory = (info.st_mode & _S_IFMT) == _S_IFDIR;
    return status;
  }
  // The C library's stat takes no \\?\ path; the system's own call does.
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return status;
  status.exists = true;
  status.regular = (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
  status.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return status;
}

// A read-only file cannot be written; a folder's attribute says nothing of
// what may be created in it, which only an attempt would tell.
int writeAccess(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(widePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    setErrnoFromLastError();
    return errno;
  }
  const bool readOnly =
      (attributes & FILE_ATTRIBUTE_READONLY) != 0 && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  return readOnly ? EACCES : 0;
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

}  // namespace tornvel::host
