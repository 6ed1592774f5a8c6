// Reads a text file line by line the way every input of a run is read: a line
// is at most `limit` characters (the rest of a longer line is the next line),
// the line end is kept when it fits, and a carriage return right before a line
// feed is dropped. A UTF-8 byte-order mark at the very start is no data and is
// passed over; a file that begins with a UTF-16 byte-order mark is read as the
// same text in UTF-8 (the limit counts its UTF-8 bytes). A NUL byte ends the
// line's text; the bytes after it up to the line end still count toward the
// limit but are not handed out.
#ifndef TORNVEL_PLATFORM_LINE_READER_H_
#define TORNVEL_PLATFORM_LINE_READER_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/failure.h"

namespace tornvel {

namespace detail {

// The number of bytes at the start of `text` (at most `size`) that are none of
// line feed, carriage return and NUL. Eight bytes are tested at a time: a byte
// equal to one of the three leaves the high bit set in "has a zero byte".
inline std::size_t ordinaryRun(const char* text, std::size_t size) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
  auto hasZeroByte = [](std::uint64_t word) { return (word - kOnes) & ~word & kHighs; };
  std::size_t n = 0;
#if defined(__SSE2__)
  // Thirty-two bytes at a time where the processor has the instructions: most
  // profile lines end within the first block, without a second turn.
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i carriageReturn = _mm_set1_epi8('\r');
  const __m128i nul = _mm_setzero_si128();
  auto specials = [&](const char* at) {
    __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    __m128i marked = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(block, lineFeed), _mm_cmpeq_epi8(block, carriageReturn)),
        _mm_cmpeq_epi8(block, nul));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(marked));
  };
  for (; n + 32 <= size; n += 32) {
    std::uint32_t found = specials(text + n) | (specials(text + n + 16) << 16);
    if (found != 0) return n + static_cast<std::size_t>(std::countr_zero(found));
  }
#endif
  for (; n + 8 <= size; n += 8) {
    std::uint64_t word;
    std::memcpy(&word, text + n, sizeof word);
    std::uint64_t found =
        hasZeroByte(word) | hasZeroByte(word ^ (kOnes * '\n')) | hasZeroByte(word ^ (kOnes * '\r'));
    if (found != 0) {
      // The lowest marked byte is exact (only bytes above a match can be
      // marked by a borrow); bytes are in memory order on this host.
      if constexpr (std::endian::native == std::endian::little) {
        return n + static_cast<std::size_t>(std::countr_zero(found)) / 8;
      }
      break;
    }
  }
  while (n < size && text[n] != '\n' && text[n] != '\r' && text[n] != '\0') ++n;
  return n;
}

}  // namespace detail

class LineReader {
 public:
  // The line limit of the control file, the profiles and the advice file.
  static constexpr std::size_t kLineLimit = 1023;
  // The line limit of a service-class row line.
  static constexpr std::size_t kRowLineLimit = 255;

  LineReader();
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Reads text held in memory instead of a file, for tests and fuzzing.
  void openText(std::string text);

  // Opens a file by its name as built (back-slashes are directory separators).
  // Fails for a name that does not exist, cannot be read or is a directory.
  Outcome open(const std::string& nameAsBuilt);
  bool isOpen() const { return fd_ >= 0 || inMemory_; }
  void close();

  // The byte-order mark the input starts with. A UTF-8 mark is passed over;
  // after a UTF-16 one the text is decoded, and text that is not UTF-16 to its
  // end is a read error (see failed() and decodeProblem()).
  enum class ByteOrderMark { kNone, kUtf8, kUtf16LittleEndian, kUtf16BigEndian };
  ByteOrderMark byteOrderMark() const { return byteOrderMark_; }
  // UTF-16 without a mark, as its first line shows it (a NUL in every other
  // byte): read as bytes, for the run to warn about.
  enum class UnmarkedUtf16 { kNone, kLittleEndian, kBigEndian };
  UnmarkedUtf16 unmarkedUtf16() const { return unmarkedUtf16_; }
  // Why a UTF-16 input could not be decoded ("an unpaired surrogate at byte
  // 24"), or empty.
  const std::string& decodeProblem() const { return decodeProblem_; }

  // The number of the line last read, counting from 1; the pieces of a line
  // longer than the limit share its number.
  std::size_t lineNumber() const { return lineNumber_; }

  // Lines of the input longer than the limit they were read with, each read
  // as two or more lines: the first few (line number and limit), and how many
  // in all.
  struct CutLine {
    std::size_t number = 0;
    std::size_t limit = 0;
  };
  static constexpr std::size_t kOverlongLinesKept = 5;
  const std::vector<CutLine>& overlongLines() const { return overlongLines_; }
  std::size_t overlongLineCount() const { return overlongLineCount_; }

  // True once the input showed a byte other than a blank, a tab, a carriage
  // return or a line feed (a NUL counts as other): an input read to its end
  // without one is empty, whatever byte-order mark it began with. Each block
  // is looked at as it is read, until the first such byte, and no line is.
  bool nonBlankByteRead() const { return nonBlankByteRead_; }

  // True once reading failed with an error: the lines read so far are not
  // the whole input. The failure stays known after close(): the read that
  // failed (Step::kRead, with the system's reason), or text that is not
  // UTF-16 to its end (Step::kDecode).
  bool failed() const { return readFailure_.has_value(); }
  const std::optional<Failure>& readFailure() const { return readFailure_; }

  // Reads the next line into `line`. Returns false when no further line could
  // be read, at the end of the input or on a read error (see failed()).
  bool readLine(std::string& line, std::size_t limit = kLineLimit);

  // Reads the next line like readLine and shows its text without copying it:
  // the view stays valid until the next read from this reader.
  // The common case is defined here, for the readers' loops to take in: the
  // whole line, its line end included, stands in the buffer as read.
  bool readLineView(std::string_view& line, std::size_t limit = kLineLimit) {
    lineNumber_ = linesEnded_ + 1;
    if (position_ < available_ && limit > 0) {
      std::size_t span = available_ - position_;
      if (span > limit) span = limit;
      const char* start = buffer_.data() + position_;
      std::size_t n = detail::ordinaryRun(start, span);
      if (n < span && start[n] == '\n') {
        line = std::string_view(start, n + 1);
        position_ += n + 1;
        ++linesEnded_;
        return true;
      }
    }
    return readLineViewSlowly(line, limit);
  }

 private:
  bool readLineViewSlowly(std::string_view& line, std::size_t limit);
  void passOverByteOrderMark();
  void decodeUtf16(bool bigEndian);
  void lookForUnmarkedUtf16();
  void noteCutLine(std::size_t limit);
  void lookForNonBlank();
  bool refill();
  int getByte();
  int peekByte();

  int fd_ = -1;
  std::optional<Failure> readFailure_;
  ByteOrderMark byteOrderMark_ = ByteOrderMark::kNone;
  UnmarkedUtf16 unmarkedUtf16_ = UnmarkedUtf16::kNone;
  std::string decodeProblem_;
  std::size_t linesEnded_ = 0;   // line feeds read so far
  std::size_t lineNumber_ = 0;   // the line last read
  std::size_t lastCutLine_ = 0;  // the line last cut at the limit
  std::size_t overlongLineCount_ = 0;
  std::vector<CutLine> overlongLines_;
  bool lookingForNonBlank_ = false;  // past the byte-order mark, none found yet
  bool nonBlankByteRead_ = false;
  bool inMemory_ = false;
  bool ended_ = false;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t available_ = 0;
  std::string assembled_;  // a line that readLineView could not show in place
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_LINE_READER_H_
