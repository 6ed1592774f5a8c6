// Reads a text file line by line the way every input of a run is read: a line
// is at most `limit` characters (the rest of a longer line is the next line),
// the line end is kept when it fits, and a carriage return right before a line
// feed is dropped. A NUL byte ends the line's text; the bytes after it up to the
// line end still count toward the limit but are not handed out.
#ifndef TORNVEL_PLATFORM_LINE_READER_H_
#define TORNVEL_PLATFORM_LINE_READER_H_

#include <cstddef>
#include <string>
#include <vector>

namespace tornvel {

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
  bool open(const std::string& nameAsBuilt);
  bool isOpen() const { return fd_ >= 0 || inMemory_; }
  void close();

  // Reads the next line into `line`. Returns false when no further line could
  // be read, at the end of the input or on a read error.
  bool readLine(std::string& line, std::size_t limit = kLineLimit);

 private:
  bool refill();
  int getByte();
  int peekByte();

  int fd_ = -1;
  bool inMemory_ = false;
  bool ended_ = false;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t available_ = 0;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_LINE_READER_H_
