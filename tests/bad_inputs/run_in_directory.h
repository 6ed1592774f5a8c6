// Runs the built tornvel binary the way a user would: in a directory of its
// own, with a fixed clock and time zone, its console output collected.
#ifndef TORNVEL_TESTS_BAD_INPUTS_RUN_IN_DIRECTORY_H_
#define TORNVEL_TESTS_BAD_INPUTS_RUN_IN_DIRECTORY_H_

#include <filesystem>
#include <string>
#include <vector>

namespace tornvel::testing {

// The run's clock: 7 December 2026, 08:45:22 UTC.
inline constexpr const char* kSourceDateEpoch = "1796633122";
inline constexpr const char* kRunTimestamp = "1261207084522000";

struct RunOutcome {
  int exitCode = -1;  // -1 when the process did not end normally
  std::string console;
  std::string errors;  // standard error, where a sanitizer report would appear
};

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
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

// Runs `binary` with `args` (without the program name) in `directory`, with
// SOURCE_DATE_EPOCH (`sourceDateEpoch`) and TZ=UTC set and the rest of the
// environment inherited. Standard output and standard error go to files under
// `logDirectory`.
RunOutcome runInDirectory(const std::string& binary, const std::vector<std::string>& args,
                          const std::filesystem::path& directory,
                          const std::filesystem::path& logDirectory,
                          const std::string& sourceDateEpoch = kSourceDateEpoch);

// The whole content of a file, byte for byte.
std::string readWholeFile(const std::filesystem::path& path);

}  // namespace tornvel::testing

#endif  // TORNVEL_TESTS_BAD_INPUTS_RUN_IN_DIRECTORY_H_
