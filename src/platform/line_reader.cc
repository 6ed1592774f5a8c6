#include "platform/line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/file_names.h"

namespace tornvel {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;

void closeBytes(int fd) {
#ifdef _WIN32
  ::_close(fd);
#else
  ::close(fd);
#endif
}

// Opens a file for reading its bytes exactly as they stand (on Windows in
// binary mode, so that neither CR LF nor a 0x1A byte is interpreted by the
// system; the reader has its own line rules), not handed down to child
// processes. -1 when it cannot be opened or is a directory.
int openBytes(const std::string& path) {
#ifdef _WIN32
  int fd = ::_open(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return -1;
  struct _stat64 info {};
  bool directory = ::_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) == _S_IFDIR;
#else
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  bool directory = ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode);
#endif
  if (directory) {
    closeBytes(fd);
    return -1;
  }
  return fd;
}

// Up to `size` bytes into `buffer`: the count, 0 at the end, negative on error.
std::ptrdiff_t readBytes(int fd, char* buffer, std::size_t size) {
#ifdef _WIN32
  return ::_read(fd, buffer, static_cast<unsigned>(size));  // size is at most kBufferSize
#else
  return ::read(fd, buffer, size);
#endif
}

}  // namespace

LineReader::LineReader() = default;

LineReader::~LineReader() { close(); }

void LineReader::openText(std::string text) {
  close();
  inMemory_ = true;
  ended_ = false;
  buffer_.assign(text.begin(), text.end());
  position_ = 0;
  available_ = buffer_.size();
}

bool LineReader::open(const std::string& nameAsBuilt) {
  close();
  int fd = openBytes(hostPath(nameAsBuilt));
  if (fd < 0) return false;
  fd_ = fd;
  ended_ = false;
  buffer_.resize(kBufferSize);
  position_ = 0;
  available_ = 0;
  return true;
}

void LineReader::close() {
  if (fd_ >= 0) closeBytes(fd_);
  fd_ = -1;
  inMemory_ = false;
  ended_ = true;
  position_ = available_ = 0;
}

bool LineReader::refill() {
  if (position_ < available_) return true;
  if (fd_ < 0 || ended_) return false;
  for (;;) {
    std::ptrdiff_t got = readBytes(fd_, buffer_.data(), buffer_.size());
    if (got > 0) {
      position_ = 0;
      available_ = static_cast<std::size_t>(got);
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    ended_ = true;  // end of file, or a read error: the input ends here
    return false;
  }
}

int LineReader::getByte() {
  if (!refill()) return -1;
  return static_cast<unsigned char>(buffer_[position_++]);
}

int LineReader::peekByte() {
  if (!refill()) return -1;
  return static_cast<unsigned char>(buffer_[position_]);
}

bool LineReader::readLine(std::string& line, std::size_t limit) {
  line.clear();
  if (limit == 0) return false;
  std::size_t count = 0;
  std::size_t textEnd = std::string::npos;  // where a NUL ended the text
  bool readAny = false;
  while (count < limit) {
    // Fast path: copy a run of ordinary bytes straight from the buffer.
    if (position_ < available_) {
      std::size_t room = limit - count;
      std::size_t span = available_ - position_;
      if (span > room) span = room;
      const char* start = buffer_.data() + position_;
      std::size_t n = detail::ordinaryRun(start, span);
      if (n < span && start[n] == '\n' && textEnd == std::string::npos) {
        // The whole rest of the line, its line end included, in one piece.
        line.append(start, n + 1);
        position_ += n + 1;
        return true;
      }
      if (n > 0) {
        if (textEnd == std::string::npos) line.append(start, n);
        position_ += n;
        count += n;
        readAny = true;
        continue;
      }
    }
    int c = getByte();
    if (c < 0) break;
    readAny = true;
    if (c == '\r' && peekByte() == '\n') continue;  // CR LF is one line end
    if (c == '\0' && textEnd == std::string::npos) textEnd = count;
    if (textEnd == std::string::npos) line.push_back(static_cast<char>(c));
    ++count;
    if (c == '\n') break;
  }
  return readAny;
}

bool LineReader::readLineViewSlowly(std::string_view& line, std::size_t limit) {
  bool read = readLine(assembled_, limit);
  line = assembled_;
  return read;
}

}  // namespace tornvel
