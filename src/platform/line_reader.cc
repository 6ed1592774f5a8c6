#include "platform/line_reader.h"

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/file_names.h"
#include "platform/host_files.h"

namespace tornvel {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}  // namespace

LineReader::LineReader() = default;

// Looks at the first bytes once the input is open, before any line is read.
void LineReader::passOverByteOrderMark() {
  byteOrderMark_ = ByteOrderMark::kNone;
  linesEnded_ = lastCutLine_ = overlongLineCount_ = 0;
  overlongLines_.clear();
  if (!refill()) return;
  // A mark split by a read that returned fewer bytes is not looked for: a
  // file's first read returns its first block whole.
  const auto startsWith = [&](std::string_view mark) {
    return available_ - position_ >= mark.size() &&
           std::string_view(buffer_.data() + position_, mark.size()) == mark;
  };
  if (startsWith("\xEF\xBB\xBF")) {
    byteOrderMark_ = ByteOrderMark::kUtf8;
    position_ += 3;
  } else if (startsWith("\xFF\xFE")) {
    byteOrderMark_ = ByteOrderMark::kUtf16LittleEndian;
  } else if (startsWith("\xFE\xFF")) {
    byteOrderMark_ = ByteOrderMark::kUtf16BigEndian;
  }
}

// A line cut at the limit whose rest is more than its line end: it is read on
// as the next line, and counted once however often it is cut.
void LineReader::noteCutLine(std::size_t limit) {
  const int next = peekByte();
  if (next < 0 || next == '\n') return;
  if (next == '\r' && position_ + 1 < available_ && buffer_[position_ + 1] == '\n') return;
  const std::size_t number = linesEnded_ + 1;
  if (number == lastCutLine_) return;
  lastCutLine_ = number;
  ++overlongLineCount_;
  if (overlongLines_.size() < kOverlongLinesKept) overlongLines_.push_back({number, limit});
}

LineReader::~LineReader() { close(); }

void LineReader::openText(std::string text) {
  close();
  inMemory_ = true;
  ended_ = false;
  error_ = 0;
  readFailed_ = false;
  buffer_.assign(text.begin(), text.end());
  position_ = 0;
  available_ = buffer_.size();
  passOverByteOrderMark();
}

bool LineReader::open(const std::string& nameAsBuilt) {
  close();
  int fd = host::openForReading(hostPath(nameAsBuilt));
  if (fd < 0) {
    error_ = errno;
    return false;
  }
  fd_ = fd;
  ended_ = false;
  error_ = 0;
  readFailed_ = false;
  buffer_.resize(kBufferSize);
  position_ = 0;
  available_ = 0;
  passOverByteOrderMark();
  return true;
}

void LineReader::close() {
  if (fd_ >= 0) host::closeFile(fd_);
  fd_ = -1;
  inMemory_ = false;
  ended_ = true;
  position_ = available_ = 0;
}

bool LineReader::refill() {
  if (position_ < available_) return true;
  if (fd_ < 0 || ended_) return false;
  for (;;) {
    std::ptrdiff_t got = host::readSome(fd_, buffer_.data(), buffer_.size());
    if (got > 0) {
      position_ = 0;
      available_ = static_cast<std::size_t>(got);
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    // The end of the file, or a read error, which the run must not take for
    // the end: it is kept for failed().
    if (got < 0) {
      error_ = errno;
      readFailed_ = true;
    }
    ended_ = true;
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
        ++linesEnded_;
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
    if (c == '\n') {
      ++linesEnded_;
      return true;
    }
  }
  if (count == limit) noteCutLine(limit);
  return readAny;
}

bool LineReader::readLineViewSlowly(std::string_view& line, std::size_t limit) {
  bool read = readLine(assembled_, limit);
  line = assembled_;
  return read;
}

}  // namespace tornvel
