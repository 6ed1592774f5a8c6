// Standard output of a run: every row and message is flushed as it ends, and
// one header switch decides which table header is still to be printed.
#ifndef TORNVEL_PLATFORM_CONSOLE_H_
#define TORNVEL_PLATFORM_CONSOLE_H_

#include <ostream>
#include <string_view>

namespace tornvel {

class Console {
 public:
  explicit Console(std::ostream& out) : out_(out) {}

  // Writes text and flushes it.
  void print(std::string_view text) {
    out_ << text;
    out_.flush();
  }
  std::ostream& stream() { return out_; }

  // True once anything printed could not be written.
  bool failed() const { return out_.fail(); }

  // The header switch: on at the start of a run; a table prints its header
  // only while it is on, and printing a header turns it off.
  bool takeHeader() {
    bool pending = headerPending_;
    headerPending_ = false;
    return pending;
  }
  // Turned on again after the control file is loaded and after the synonym
  // listing, so that the next table prints its own header.
  void rearmHeader() { headerPending_ = true; }

 private:
  std::ostream& out_;
  bool headerPending_ = true;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_CONSOLE_H_
