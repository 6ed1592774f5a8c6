// The host's calls on files, for every file a run reads or writes, behind one
// set of names. Paths are host paths (see file_names.h) in UTF-8. On Windows
// they go through the wide-character calls, a long absolute path in its
// "\\?\" form, so that names of any length and of any characters work there as they
// do elsewhere. Failures leave the reason in errno.
#ifndef TORNVEL_PLATFORM_HOST_FILES_H_
#define TORNVEL_PLATFORM_HOST_FILES_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace tornvel::host {

// Opens an existing file for reading its bytes as they stand (binary, not
// handed down to child processes). A directory is refused (EISDIR).
int openForReading(const std::string& path);
// Creates a file that must not exist yet, for writing.
int createNew(const std::string& path);
// A file for writing that the system removes when the process ends, however
// it ends (a kill, a power cut), until keepVanishing is called. On Linux it is
// a file without a name in the folder of `path` (O_TMPFILE); on Windows the
// file `path` itself (which must not exist yet), marked for deletion. -1
// where the host or the file system cannot make one, with errno set: the
// caller then creates a named file.
int createVanishing(const std::string& path);
// Makes a file of createVanishing stay, under `path`: on Linux a link into
// the folder, which fails with EEXIST where the name is taken; on Windows the
// deletion is called off, and `path` is the name it was created under.
bool keepVanishing(int fd, const std::string& path);
// Opens a file for appending, creating it when absent.
int openForAppending(const std::string& path);
// Opens an existing device, pipe or socket for writing as it stands.
int openInPlace(const std::string& path);

// Up to `size` bytes: the count, 0 at the end, negative on failure.
std::ptrdiff_t readSome(int fd, char* buffer, std::size_t size);
std::ptrdiff_t writeSome(int fd, const char* data, std::size_t size);
bool syncFile(int fd);
bool closeFile(int fd);
// The size of an open file, or -1.
std::int64_t fileSize(int fd);
bool cutFile(int fd, std::int64_t size);
// An exclusive lock over the whole file (lock), or its release.
bool lockFile(int fd, bool lock);

struct FileStatus {
  bool exists = false;
  bool regular = false;
  bool directory = false;
  unsigned mode = 0;  // permission bits
  unsigned owner = 0;
  unsigned group = 0;
};
// What a path reaches, every symbolic link followed.
FileStatus statusOf(const std::string& path);
// 0 when the file or folder at `path` may be written (in a folder: files
// created), else the system's reason (an errno value).
int writeAccess(const std::string& path);
// True when both paths reach one and the same existing file.
bool sameFile(const std::string& path, const std::string& otherPath);
// The new file keeps the permission bits, and where allowed the owner, of
// the file it replaces.
void keepOwnerAndMode(int fd, const FileStatus& earlier);
// The path of the file a name stands for once every symbolic link on its
// last part is followed (the name itself where links are not followed).
std::string resolveLinks(const std::string& path);

bool renameOver(const std::string& from, const std::string& to);
// A second name for an existing file.
bool linkFile(const std::string& existing, const std::string& newName);
bool removeFile(const std::string& path);
// A rename is on the disk only once its directory is.
void syncDirectory(const std::string& directory);

// The system's words for the reason of a failed call (an errno value, or on
// Windows a system error that the C library has no value for).
std::string errorText(int error);

bool isSeparator(char c);
int processId();

#ifdef _WIN32
// The errno value for a failed call of the system's own interface: the C
// library's where the run acts on it (a name that is taken, a folder that is
// missing or cannot be written, a full disk), else one that carries the
// system's code for errorText.
int errorFromSystem(unsigned long code);
// The UTF-8 form of a wide-character text (the command line, for one).
std::string utf8FromWide(const wchar_t* text);
// The wide form under which a path is opened: as given, or, when its absolute
// form comes near 260 characters, that form with the "\\?\" prefix.
std::wstring widePath(const std::string& path);
#endif

}  // namespace tornvel::host

#endif  // TORNVEL_PLATFORM_HOST_FILES_H_
