#include "platform/line_reader.h"

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/file_names.h"
#include "platform/host_files.h"

namespace tornvel {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

void appendUtf8(std::string& text, char32_t code) {
  if (code < 0x80) {
    text.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    text.push_back(static_cast<char>(0xC0 | (code >> 6)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | (code >> 12)));
    text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | (code >> 18)));
    text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace

LineReader::LineReader() = default;

// Looks at the first bytes once the input is open, before any line is read.
void LineReader::passOverByteOrderMark() {
  byteOrderMark_ = ByteOrderMark::kNone;
  unmarkedUtf16_ = UnmarkedUtf16::kNone;
  decodeProblem_.clear();
  linesEnded_ = lineNumber_ = lastCutLine_ = overlongLineCount_ = 0;
  overlongLines_.clear();
  lookingForNonBlank_ = nonBlankByteRead_ = false;
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
    decodeUtf16(false);
  } else if (startsWith("\xFE\xFF")) {
    byteOrderMark_ = ByteOrderMark::kUtf16BigEndian;
    decodeUtf16(true);
  } else {
    lookForUnmarkedUtf16();
  }
  lookingForNonBlank_ = true;
  lookForNonBlank();
}

// The bytes in the buffer not yet looked at stand from position_ on: the
// first block after its byte-order mark, or a block just read.
void LineReader::lookForNonBlank() {
  if (!lookingForNonBlank_) return;
  const std::string_view block(buffer_.data() + position_, available_ - position_);
  if (block.find_first_not_of(" \t\r\n") == std::string_view::npos) return;
  nonBlankByteRead_ = true;
  lookingForNonBlank_ = false;
}

// Windows PowerShell writes UTF-16 with a mark by default. Such an input is
// read whole and decoded into UTF-8, which the readers then take like any
// other text; it is small beside the profiles of a site, which are UTF-8 or
// ASCII. A text that is not UTF-16 to its end fails like a read error, after
// the lines before the fault.
void LineReader::decodeUtf16(bool bigEndian) {
  std::string bytes(buffer_.data() + position_ + 2, available_ - position_ - 2);
  position_ = available_;
  while (refill()) {
    bytes.append(buffer_.data() + position_, available_ - position_);
    position_ = available_;
  }
  std::string text;
  text.reserve(bytes.size());
  const auto unitAt = [&](std::size_t at) {
    const auto high = static_cast<unsigned char>(bytes[at + (bigEndian ? 0 : 1)]);
    const auto low = static_cast<unsigned char>(bytes[at + (bigEndian ? 1 : 0)]);
    return static_cast<char32_t>(high << 8 | low);
  };
  std::size_t at = 0;
  for (; at + 1 < bytes.size(); at += 2) {
    char32_t code = unitAt(at);
    if (code >= 0xD800 && code <= 0xDFFF) {
      const bool paired = code <= 0xDBFF && at + 3 < bytes.size() && unitAt(at + 2) >= 0xDC00 &&
                          unitAt(at + 2) <= 0xDFFF;
      if (!paired) {
        decodeProblem_ = "an unpaired surrogate at byte " + std::to_string(at + 2);
        break;
      }
      code = 0x10000 + ((code - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
      at += 2;
    }
    appendUtf8(text, code);
  }
  if (decodeProblem_.empty() && at < bytes.size()) decodeProblem_ = "an odd number of bytes";
  if (readFailure_) {
    decodeProblem_.clear();  // the read error is the reason
  } else if (!decodeProblem_.empty()) {
    readFailure_ = Failure{Step::kDecode, EILSEQ};
  }
  buffer_.assign(text.begin(), text.end());
  position_ = 0;
  available_ = buffer_.size();
  ended_ = true;  // the whole input stands in the buffer
}

// A first line with a NUL in every other byte: UTF-16 of either byte order
// without its mark.
void LineReader::lookForUnmarkedUtf16() {
  std::string_view first(buffer_.data() + position_, available_ - position_);
  first = first.substr(0, first.find('\n'));
  if (first.size() < 4) return;
  bool little = true;
  bool big = true;
  for (std::size_t i = 0; i < first.size(); ++i) {
    const bool zero = first[i] == '\0';
    little = little && zero == (i % 2 == 1);
    big = big && zero == (i % 2 == 0);
  }
  if (little) unmarkedUtf16_ = UnmarkedUtf16::kLittleEndian;
  if (big) unmarkedUtf16_ = UnmarkedUtf16::kBigEndian;
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
  readFailure_.reset();
  buffer_.assign(text.begin(), text.end());
  position_ = 0;
  available_ = buffer_.size();
  passOverByteOrderMark();
}

Outcome LineReader::open(const std::string& nameAsBuilt) {
  close();
  readFailure_.reset();
  const std::string path = hostPath(nameAsBuilt);
  const int fd = host::openForReading(path);
  if (fd < 0) return openFailure(Step::kOpen, errno, path, Access::kReading);
  fd_ = fd;
  ended_ = false;
  buffer_.resize(kBufferSize);
  position_ = 0;
  available_ = 0;
  passOverByteOrderMark();
  return {};
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
      lookForNonBlank();
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    // The end of the file, or a read error, which the run must not take for
    // the end: it is kept for failed().
    if (got < 0) readFailure_ = failureOf(Step::kRead);
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
  lineNumber_ = linesEnded_ + 1;
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
