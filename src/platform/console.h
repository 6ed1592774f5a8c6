// Standard output of a run: every row and message is flushed as it ends.
// Beside it, standard error takes the run's diagnostics: lines that say what
// went wrong, or what the run did instead, without changing a byte of the
// reports.
#ifndef TORNVEL_PLATFORM_CONSOLE_H_
#define TORNVEL_PLATFORM_CONSOLE_H_

#include <cerrno>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/failure.h"

namespace tornvel {

// One diagnostic line as the run told it, kept for the run's summary: a stable
// word for what it is about, the file and line it points at where known (an
// empty file, line 0 otherwise), and the text without "tornvel: ".
struct DiagnosticRecord {
  std::string_view kind;
  bool warning = false;  // counted for --strict
  std::string file;
  std::size_t line = 0;
  std::string message;
};

class Console {
 public:
  explicit Console(std::ostream& out) : out_(out) {}
  Console(std::ostream& out, std::ostream& errors) : out_(out), errors_(&errors) {}

  // Writes text and flushes it. Once a write has failed (a full disk, a
  // reader that went away), nothing more is written, and the reason is kept.
  void print(std::string_view text) {
    if (out_.fail()) return;
    errno = 0;
    out_ << text;
    out_.flush();
    if (out_.fail()) failure_.error = errno != 0 ? errno : EIO;
  }

  // One diagnostic line on standard error, "tornvel: " before it; dropped by
  // a console without an error stream. `kind` is a stable word (a literal)
  // for what it is about; `file` and `line` where it points, when known.
  void diagnose(std::string_view kind, std::string_view text, std::string_view file = {},
                std::size_t line = 0) {
    tell(kind, false, text, file, line);
  }
  // A diagnostic that points at a likely mistake: counted, for --strict.
  void warn(std::string_view kind, std::string_view text, std::string_view file = {},
            std::size_t line = 0) {
    ++warnings_;
    tell(kind, true, text, file, line);
  }
  // A line on standard error that is no diagnostic of the run (the last line
  // of a dry or strict run, or about the summary itself): not kept.
  void note(std::string_view text) {
    if (errors_ == nullptr) return;
    *errors_ << "tornvel: " << text << '\n';
    errors_->flush();
  }
  int warnings() const { return warnings_; }
  // Every diagnostic told so far, in order. A run tells a few dozen at most:
  // the long lists (values that are no number, near misses) stop at five.
  const std::vector<DiagnosticRecord>& records() const { return records_; }

  // True once anything printed could not be written; failure() tells why
  // (the system's reason, when a write of this console failed).
  bool failed() const { return out_.fail(); }
  const Failure& failure() const { return failure_; }

 private:
  void tell(std::string_view kind, bool warning, std::string_view text, std::string_view file,
            std::size_t line) {
    records_.push_back({kind, warning, std::string(file), line, std::string(text)});
    note(text);
  }

  std::ostream& out_;
  std::ostream* errors_ = nullptr;
  Failure failure_{Step::kWrite, 0, FolderFinding::kNone};
  int warnings_ = 0;
  std::vector<DiagnosticRecord> records_;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_CONSOLE_H_
