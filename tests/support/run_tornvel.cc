#include "run_tornvel.h"

#ifdef _WIN32
#include <windows.h>

#include <functional>
#include <random>
#include <thread>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#define environ _environ
#else
extern char** environ;
#endif

namespace tornvel::testing {

namespace {

// Where a run is to be stopped: after its console shows `marker`.
struct Stop {
  std::string marker;
  AfterMarker then;
  std::function<void()> whileWaiting;
};

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

#ifdef _WIN32

// One argument as the child's C runtime splits its command line again: quoted
// when it is empty or holds a blank or a quote; a quote is escaped with a
// back-slash, and back-slashes are doubled where a quote follows them.
std::wstring quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    return argument;
  }
  std::wstring text = L"\"";
  std::size_t backSlashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backSlashes;
      continue;
    }
    text.append(c == L'"' ? 2 * backSlashes + 1 : backSlashes, L'\\');
    backSlashes = 0;
    text += c;
  }
  text.append(2 * backSlashes, L'\\');
  return text + L"\"";
}

std::string lastError(const char* call) {
  return std::string(call) + ": error " + std::to_string(GetLastError());
}

// Reads a pipe to its end into `sink`, on a thread of its own.
void drain(HANDLE pipe, std::string& sink) {
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) sink.append(buffer, got);
  CloseHandle(pipe);
}

#else

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
  int open = (outFd >= 0 ? 1 : 0) + (errFd >= 0 ? 1 : 0);
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

#endif

}  // namespace

#ifdef _WIN32

namespace {

// Reads the console until the marker has come, then lets the child fill the
// pipe and wait on it before it is ended.
void readUntil(HANDLE pipe, std::string& sink, const std::string& marker) {
  char buffer[512];
  DWORD got = 0;
  while (sink.find(marker) == std::string::npos &&
         ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    sink.append(buffer, got);
  }
  Sleep(500);
}

RunOutcome runChild(const std::string& binary, const std::vector<std::string>& args,
                    const std::filesystem::path& directory, const Environment& overrides,
                    int timeoutSeconds, const Stop* stop) {
  RunOutcome outcome;
  // The command line in UTF-16, so that every character of a name reaches the
  // child as it is (the ANSI form would turn most of them into '?').
  std::wstring commandLine =
      quoted(std::filesystem::absolute(utf8Path(binary)).make_preferred().native());
  for (const std::string& arg : args) commandLine += L" " + quoted(utf8Path(arg).native());
  std::string environment;  // NAME=value entries, each ended by a NUL, then one more NUL
  for (const std::string& entry : childEnvironment(overrides)) {
    environment.append(entry).push_back('\0');
  }
  environment.push_back('\0');
  const std::wstring dir = directory.native();

  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
  // A run to be stopped gets a small pipe, which its report soon fills.
  if (!CreatePipe(&outRead, &outWrite, &inherited, stop != nullptr ? 4096 : 0)) {
    outcome.failure = lastError("CreatePipe");
    return outcome;
  }
  if (!CreatePipe(&errRead, &errWrite, &inherited, 0)) {
    outcome.failure = lastError("CreatePipe");
    CloseHandle(outRead);
    CloseHandle(outWrite);
    return outcome;
  }
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                           OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION child{};
  // The environment block stays in the ANSI code page: its names and values
  // are the inherited ones and the fixed settings above, all ASCII.
  // Under wine, a start now and then fails with ERROR_INTERNAL_ERROR when
  // many processes start at once (the new process never ran): that one error
  // is tried again, a few times, after a pause; any other is the test's.
  bool started = false;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    if (attempt > 0) Sleep(200 * attempt);
    started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                             environment.data(), dir.c_str(), &startup, &child);
    if (!started && GetLastError() != ERROR_INTERNAL_ERROR) break;
  }
  if (!started) outcome.failure = lastError("CreateProcess");
  // Only the child holds the write ends now, so the pipes end when it does.
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  std::thread errors(drain, errRead, std::ref(outcome.errors));
  if (started && stop != nullptr) {
    readUntil(outRead, outcome.console, stop->marker);
    stop->whileWaiting();
    if (stop->then == AfterMarker::kKill) {
      TerminateProcess(child.hProcess, 1);
    } else {
      CloseHandle(outRead);
      outRead = nullptr;
    }
  }
  std::thread console;
  if (outRead != nullptr) console = std::thread(drain, outRead, std::ref(outcome.console));
  if (started) {
    if (WaitForSingleObject(child.hProcess, static_cast<DWORD>(timeoutSeconds) * 1000) ==
        WAIT_TIMEOUT) {
      outcome.timedOut = true;
      TerminateProcess(child.hProcess, 1);
      WaitForSingleObject(child.hProcess, INFINITE);
    } else {
      DWORD code = 0;
      GetExitCodeProcess(child.hProcess, &code);
      outcome.exitCode = static_cast<int>(code);
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  if (console.joinable()) console.join();
  errors.join();
  return outcome;
}

}  // namespace

#else

namespace {

// Reads the console until the marker has come, then lets the child fill the
// pipe and wait on it before it is ended.
void readUntil(int fd, std::string& sink, const std::string& marker) {
  char buffer[512];
  ssize_t got = 0;
  while (sink.find(marker) == std::string::npos &&
         ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))) {
    if (got > 0) sink.append(buffer, static_cast<std::size_t>(got));
  }
  usleep(500000);
}

RunOutcome runChild(const std::string& binary, const std::vector<std::string>& args,
                    const std::filesystem::path& directory, const Environment& overrides,
                    int timeoutSeconds, const Stop* stop) {
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
  // A run to be stopped gets a small pipe, which its report soon fills.
  if (stop != nullptr) fcntl(outPipe[0], F_SETPIPE_SZ, 4096);
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
  if (stop != nullptr) {
    readUntil(outPipe[0], outcome.console, stop->marker);
    stop->whileWaiting();
    if (stop->then == AfterMarker::kKill) {
      kill(child, SIGKILL);
    } else {
      close(outPipe[0]);
      outPipe[0] = -1;
    }
  }
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

}  // namespace

#endif

RunOutcome runTornvel(const std::string& binary, const std::vector<std::string>& args,
                      const std::filesystem::path& directory, const Environment& overrides,
                      int timeoutSeconds) {
  return runChild(binary, args, directory, overrides, timeoutSeconds, nullptr);
}

RunOutcome runTornvelUntil(const std::string& binary, const std::vector<std::string>& args,
                           const std::filesystem::path& directory, const std::string& marker,
                           AfterMarker then, const std::function<void()>& whileWaiting) {
  const Stop stop{marker, then, whileWaiting};
  return runChild(binary, args, directory, {}, 60, &stop);
}

ScratchDirectory::ScratchDirectory() {
  const char* base = std::getenv("TMPDIR");
#ifdef _WIN32
  // A directory with a random name: creating it fails when the name is taken.
  std::filesystem::path root = base != nullptr && *base != '\0'
                                   ? std::filesystem::path(base)
                                   : std::filesystem::temp_directory_path();
  std::random_device entropy;
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    std::filesystem::path candidate = root / ("tornvel-test-" + std::to_string(entropy()));
    if (std::filesystem::create_directory(candidate)) path_ = std::filesystem::canonical(candidate);
  }
  if (path_.empty()) throw std::runtime_error("no scratch directory under " + utf8Name(root));
#else
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tornvel-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = std::filesystem::canonical(pattern);
#endif
}

std::filesystem::path utf8Path(std::string_view name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string utf8Name(const std::filesystem::path& path) {
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
}

#ifdef _WIN32
namespace {

std::wstring longPathForm(const std::filesystem::path& path) {
  std::wstring absolute = std::filesystem::absolute(path).make_preferred().native();
  if (absolute.rfind(L"\\\\", 0) == 0) return absolute;  // already \\?\ or a share
  return L"\\\\?\\" + absolute;
}

// Calls `visit` with the name of every entry of `folder` (in its \\?\ form)
// and whether it is a folder; "." and ".." are left out.
template <typename Visit>
void eachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

void collectNames(const std::wstring& folder, const std::string& prefix,
                  std::vector<std::string>& names) {
  eachEntry(folder, [&](const std::wstring& name, bool isFolder) {
    const std::string relative = prefix + utf8Name(std::filesystem::path(name));
    names.push_back(relative);
    if (isFolder) collectNames(folder + L"\\" + name, relative + "/", names);
  });
}

// Removes a folder and everything in it, links without what they name.
void removeTree(const std::wstring& folder) {
  eachEntry(folder, [&](const std::wstring& name, bool isFolder) {
    const std::wstring path = folder + L"\\" + name;
    if (isFolder) {
      removeTree(path);
    } else if (!DeleteFileW(path.c_str())) {
      RemoveDirectoryW(path.c_str());  // a link to a folder
    }
  });
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::vector<std::string> namesUnder(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  collectNames(longPathForm(directory), "", names);
  return names;
}
#else
std::vector<std::string> namesUnder(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
    names.push_back(entry.path().lexically_relative(directory).string());
  }
  return names;
}
#endif

ScratchDirectory::~ScratchDirectory() {
  if (const char* keep = std::getenv("TORNVEL_TEST_KEEP"); keep != nullptr && *keep != '\0') {
    return;
  }
#ifdef _WIN32
  removeTree(longPathForm(path_));
#else
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);  // symbolic links go, not what they name
#endif
}

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tornvel::testing
