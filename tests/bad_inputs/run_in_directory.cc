#include "run_in_directory.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace tornvel::testing {

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tornvel-bad-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);  // symbolic links go, not what they name
}

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

RunOutcome runInDirectory(const std::string& binary, const std::vector<std::string>& args,
                          const std::filesystem::path& directory,
                          const std::filesystem::path& logDirectory,
                          const std::string& sourceDateEpoch) {
  const std::string outName = (logDirectory / "stdout").string();
  const std::string errName = (logDirectory / "stderr").string();

  // Everything the child needs is prepared before the fork.
  std::vector<std::string> argStrings{binary};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argStrings) argv.push_back(arg.data());
  argv.push_back(nullptr);

  std::vector<std::string> envStrings;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "SOURCE_DATE_EPOCH=", 18) == 0) continue;
    if (std::strncmp(*entry, "TZ=", 3) == 0) continue;
    envStrings.emplace_back(*entry);
  }
  envStrings.push_back("SOURCE_DATE_EPOCH=" + sourceDateEpoch);
  envStrings.emplace_back("TZ=UTC");
  std::vector<char*> envp;
  for (std::string& entry : envStrings) envp.push_back(entry.data());
  envp.push_back(nullptr);

  const std::string dir = directory.string();
  pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    int out = open(outName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errName.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int in = open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || dup2(in, 0) < 0 ||
        chdir(dir.c_str()) != 0) {
      _exit(127);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  RunOutcome outcome;
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.console = readWholeFile(outName);
  outcome.errors = readWholeFile(errName);
  return outcome;
}

}  // namespace tornvel::testing
