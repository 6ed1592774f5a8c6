// Standard output of a run: every row and message is flushed as it ends.
// Beside it, standard error takes the run's diagnostics: lines that say what
// went wrong, or what the run did instead, without changing a byte of the
// reports.
#ifndef TORNVEL_PLATFORM_CONSOLE_H_
#define TORNVEL_PLATFORM_CONSOLE_H_

#include <cerrno>
#include <ostream>
#include <string_view>

#include "platform/failure.h"

namespace tornvel {

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
  // a console without an error stream.
  void diagnose(std::string_view text) {
    if (errors_ == nullptr) return;
    *errors_ << "tornvel: " << text << '\n';
    errors_->flush();
  }
  // A diagnostic that points at a likely mistake: counted, for --strict.
  void warn(std::string_view text) {
    ++warnings_;
    diagnose(text);
  }
  int warnings() const { return warnings_; }

  // True once anything printed could not be written; failure() tells why
  // (the system's reason, when a write of this console failed).
  bool failed() const { return out_.fail(); }
  const Failure& failure() const { return failure_; }

 private:
  std::ostream& out_;
  std::ostream* errors_ = nullptr;
  Failure failure_{Step::kWrite, 0, FolderFinding::kNone};
  int warnings_ = 0;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_CONSOLE_H_
