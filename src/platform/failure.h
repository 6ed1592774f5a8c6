// A failed call on a file, as a value handed to the caller: the step that
// failed and the system's reason. A file that did not open also carries what
// its folder was found to be at that moment (missing, or not to be written),
// so that the run's message can say what to do without asking the file
// system again.
#ifndef TORNVEL_PLATFORM_FAILURE_H_
#define TORNVEL_PLATFORM_FAILURE_H_

#include <cerrno>
#include <optional>
#include <string>
#include <utility>

namespace tornvel {

// The step of a file's handling that failed.
enum class Step {
  kOpen,         // an input, a device or the threshold file did not open
  kCreate,       // the temporary file of a replaced file could not be made
  kCheck,        // a dry run found that the output could not be opened
  kRead,         // an input failed to read
  kDecode,       // an input in UTF-16 is not UTF-16 to its end
  kWrite,        // written text did not reach the file
  kSync,         // the file did not reach the disk
  kMeasure,      // the length of the threshold file could not be learnt
  kName,         // the temporary file could not take its hidden name
  kClose,        // the temporary file's close reported a failure
  kKeepEarlier,  // the earlier file could get no hidden second name
  kRename,       // a file could not take its name
};

// What the folder of a file that did not open was found to be.
enum class FolderFinding {
  kNone,         // not looked at, or nothing wrong with it
  kMissing,      // the folder does not exist
  kNotWritable,  // an output's folder exists but cannot be written
};

struct Failure {
  Step step = Step::kOpen;
  // The system's reason: an errno value (on Windows also a system error that
  // the C library has no value for; host::errorText has its words), or 0.
  int error = 0;
  FolderFinding folder = FolderFinding::kNone;

  bool operator==(const Failure&) const = default;
};

// The failure of the call that just failed, by its errno.
inline Failure failureOf(Step step) { return Failure{step, errno, FolderFinding::kNone}; }

// How a file is opened, for what a failure to open it tells of its folder.
enum class Access { kReading, kWriting };

// The failure to open the file at host path `path` for the system's reason
// `error`, with what its folder is now: missing, when the file was not
// found; for writing, not to be written, when access was refused.
Failure openFailure(Step step, int error, const std::string& path, Access access);

// What a call gives: its value, or the failure that kept it from it. True
// when the call worked.
template <typename T>
class Result {
 public:
  Result() = default;
  Result(T value) : value_(std::move(value)) {}
  Result(const Failure& failure) : failure_(failure) {}

  explicit operator bool() const { return !failure_.has_value(); }
  const T& value() const { return value_; }
  // Only for a result that is false.
  const Failure& failure() const { return *failure_; }

 private:
  T value_{};
  std::optional<Failure> failure_;
};

// The result of a call that gives nothing but its success.
struct Done {};
using Outcome = Result<Done>;

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_FAILURE_H_
