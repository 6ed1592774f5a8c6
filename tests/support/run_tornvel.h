// Runs the built tornvel binary the way a user would: in a directory of its
// own, with a fixed clock and time zone, standard input from the null device
// (/dev/null, or NUL on Windows) and its standard output and standard error
// collected.
#ifndef TORNVEL_TESTS_SUPPORT_RUN_TORNVEL_H_
#define TORNVEL_TESTS_SUPPORT_RUN_TORNVEL_H_

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/line_ends.h"

namespace tornvel::testing {

// The runs' clock: 7 December 2026, 08:45:22 UTC.
inline constexpr const char* kSourceDateEpoch = "1796633122";
inline constexpr const char* kRunTimestamp = "1261207084522000";

struct RunOutcome {
  int exitCode = -1;  // -1 when the process did not end normally
  int signal = 0;     // the signal that ended it, if one did
  bool timedOut = false;
  std::string console;  // standard output
  std::string errors;   // standard error, where a sanitizer report would appear
  std::string failure;  // why the binary could not be run at all
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs `binary` with `args` (without the program name, each in UTF-8) in
// `directory`. The environment is inherited, with SOURCE_DATE_EPOCH=
// kSourceDateEpoch and TZ=UTC, then `overrides` replace or add variables. A run longer than
// `timeoutSeconds` is killed and reported as timed out.
RunOutcome runTornvel(const std::string& binary, const std::vector<std::string>& args,
                      const std::filesystem::path& directory, const Environment& overrides = {},
                      int timeoutSeconds = 60);

// Runs `binary` as runTornvel does, but reads its standard output only until
// `marker` has come, so that the run soon waits on a full pipe (a small one);
// then calls `whileWaiting` and either ends the run by force (kKill: SIGKILL,
// or on Windows TerminateProcess, as `taskkill /F` does) or closes the pipe
// as a reader that goes away does (kCloseConsole) and lets the run go on.
enum class AfterMarker { kKill, kCloseConsole };
RunOutcome runTornvelUntil(
    const std::string& binary, const std::vector<std::string>& args,
    const std::filesystem::path& directory, const std::string& marker, AfterMarker then,
    const std::function<void()>& whileWaiting = [] {});

// A fresh directory under TMPDIR (or /tmp), removed with everything in it when
// the object goes, unless TORNVEL_TEST_KEEP is set (for looking at a failure).
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The path a UTF-8 name stands for. A path built from a std::string takes the
// ANSI code page on Windows, which has no room for most characters; one built
// from UTF-8 code units reaches every name.
std::filesystem::path utf8Path(std::string_view name);
// The UTF-8 form of a path, for names shown in messages and compared.
std::string utf8Name(const std::filesystem::path& path);

// The paths of everything under `directory`, at any depth, as UTF-8 relative
// to it with "/" between folders. On Windows the walk takes the "\\?\" form
// of each folder: the C runtime's folder listing there stops at the old limit
// of 260 characters.
std::vector<std::string> namesUnder(const std::filesystem::path& directory);

// The whole content of a file, byte for byte; empty when it cannot be read.
std::string readWholeFile(const std::filesystem::path& path);

}  // namespace tornvel::testing

#endif  // TORNVEL_TESTS_SUPPORT_RUN_TORNVEL_H_
