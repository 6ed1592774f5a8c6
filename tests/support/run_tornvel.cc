#include "run_tornvel.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace tornvel::testing {

namespace {

std::vector<std::string> childEnvironment(const Environment& overrides) {
  Environment settings = {{"SOURCE_DATE_EPOCH", kSourceDateEpoch}, {"TZ", "UTC"}};
  for (const auto& [key, value] : overrides) {
    std::erase_if(settings, [&key = key](const auto& setting) { return setting.first == key; });
    settings.emplace_back(key, value);
  }
  std::vector<std::string> entries;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    std::string text(*entry);
    std::string key = text.substr(0, text.find('='));
    bool replaced = std::any_of(settings.begin(), settings.end(),
                                [&key](const auto& setting) { return setting.first == key; });
    if (!replaced) entries.push_back(std::move(text));
  }
  for (const auto& [key, value] : settings) entries.push_back(key + "=" + value);
  return entries;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> result;
  for (std::string& text : texts) result.push_back(text.data());
  result.push_back(nullptr);
  return result;
}

// Collects both pipes until the child closes them or the deadline passes.
void collect(int outFd, int errFd, RunOutcome& outcome, pid_t child, int timeoutSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&outcome.console, &outcome.errors};
  int open = 2;
  while (open > 0) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) {
      outcome.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    int ready = poll(fds, 2, static_cast<int>(std::min<long long>(left, 1000)));
    if (ready < 0) {
      if (errno == EINTR) continue;
      outcome.failure = std::string("poll: ") + std::strerror(errno);
      kill(child, SIGKILL);
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      char buffer[65536];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (pollfd& fd : fds) {
    if (fd.fd >= 0) close(fd.fd);
  }
}

}  // namespace

RunOutcome runTornvel(const std::string& binary, const std::vector<std::string>& args,
                      const std::filesystem::path& directory, const Environment& overrides,
                      int timeoutSeconds) {
  RunOutcome outcome;
  // Everything the child needs is prepared before the fork.
  std::vector<std::string> argTexts{binary};
  argTexts.insert(argTexts.end(), args.begin(), args.end());
  std::vector<char*> argv = pointers(argTexts);
  std::vector<std::string> envTexts = childEnvironment(overrides);
  std::vector<char*> envp = pointers(envTexts);
  const std::string dir = directory.string();

  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
    outcome.failure = std::string("pipe: ") + std::strerror(errno);
    return outcome;
  }
  pid_t child = fork();
  if (child < 0) {
    outcome.failure = std::string("fork: ") + std::strerror(errno);
    return outcome;
  }
  if (child == 0) {
    int devNull = open("/dev/null", O_RDONLY);
    if (devNull < 0 || dup2(devNull, STDIN_FILENO) < 0 || dup2(outPipe[1], STDOUT_FILENO) < 0 ||
        dup2(errPipe[1], STDERR_FILENO) < 0 || chdir(dir.c_str()) != 0) {
      _exit(126);
    }
    for (int fd : {devNull, outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) close(fd);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  collect(outPipe[0], errPipe[0], outcome, child, timeoutSeconds);

  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) {
    outcome.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    outcome.signal = WTERMSIG(status);
  }
  return outcome;
}

ScratchDirectory::ScratchDirectory() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tornvel-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = std::filesystem::canonical(pattern);
}

ScratchDirectory::~ScratchDirectory() {
  if (const char* keep = std::getenv("TORNVEL_TEST_KEEP"); keep != nullptr && *keep != '\0') {
    return;
  }
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);  // symbolic links go, not what they name
}

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tornvel::testing
