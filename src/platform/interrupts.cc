#include "platform/interrupts.h"

#include <atomic>
#include <cstddef>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <string>

#include "platform/host_files.h"
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace tornvel {

namespace {

// A run has at most a statement file and a template seed file under temporary
// names at once; the spare slots cover names tried again.
constexpr int kSlots = 8;

// Read by the interrupt handler while the run goes on, so each entry is one
// lock-free word that the handler sees either set or cleared.
struct Temporary {
  std::atomic<const char*> path{nullptr};
  std::atomic<int> fd{-1};
};
Temporary temporaries[kSlots];
static_assert(std::atomic<const char*>::is_always_lock_free);

#ifdef _WIN32
// The console's control handler runs on a thread of its own: it waits for the
// outputs to take their names by taking this lock, then stops the run's thread
// before it removes the files that thread writes.
CRITICAL_SECTION namingLock;
HANDLE runThread = nullptr;
int holdDepth = 0;

// The exit status Windows gives a process ended by Ctrl-C.
constexpr UINT kInterruptedStatus = 0xC000013A;

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  ::EnterCriticalSection(&namingLock);
  if (runThread != nullptr) ::SuspendThread(runThread);
  for (Temporary& temporary : temporaries) {
    const char* path = temporary.path.load();
    if (path == nullptr) continue;
    const int fd = temporary.fd.load();
    if (fd >= 0) ::_close(fd);
    host::removeFile(path);
  }
  ::ExitProcess(kInterruptedStatus);
}
#else
constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};
sigset_t heldMask;
int holdDepth = 0;

sigset_t interruptSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signalNumber : kInterrupts) sigaddset(&set, signalNumber);
  return set;
}

// Only calls that are safe in a signal handler: unlink, sigaction,
// sigprocmask and raise.
extern "C" void onInterrupt(int signalNumber) {
  for (Temporary& temporary : temporaries) {
    const char* path = temporary.path.load();
    if (path != nullptr) ::unlink(path);
  }
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(signalNumber, &fallback, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signalNumber);
  ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signalNumber);
}
#endif

}  // namespace

#ifdef _WIN32
void catchInterrupts() {
  ::InitializeCriticalSection(&namingLock);
  ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &runThread,
                    THREAD_SUSPEND_RESUME, FALSE, 0);
  ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

InterruptsHeld::InterruptsHeld() {
  if (runThread != nullptr && holdDepth++ == 0) ::EnterCriticalSection(&namingLock);
}

InterruptsHeld::~InterruptsHeld() {
  if (runThread != nullptr && --holdDepth == 0) ::LeaveCriticalSection(&namingLock);
}
#else
void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  action.sa_mask = interruptSet();  // one cleanup at a time
  for (int signalNumber : kInterrupts) {
    struct sigaction earlier {};
    if (::sigaction(signalNumber, nullptr, &earlier) == 0 && earlier.sa_handler == SIG_IGN) {
      continue;
    }
    ::sigaction(signalNumber, &action, nullptr);
  }
}

InterruptsHeld::InterruptsHeld() {
  if (holdDepth++ > 0) return;
  const sigset_t set = interruptSet();
  if (::sigprocmask(SIG_BLOCK, &set, &heldMask) != 0) sigemptyset(&heldMask);
}

InterruptsHeld::~InterruptsHeld() {
  if (--holdDepth == 0) ::sigprocmask(SIG_SETMASK, &heldMask, nullptr);
}
#endif

int rememberTemporary(const char* path) {
  for (int slot = 0; slot < kSlots; ++slot) {
    const char* empty = nullptr;
    if (temporaries[slot].path.compare_exchange_strong(empty, path)) return slot;
  }
  return -1;
}

void setTemporaryDescriptor(int slot, int fd) {
  if (slot >= 0 && slot < kSlots) temporaries[slot].fd.store(fd);
}

void forgetTemporary(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  temporaries[slot].path.store(nullptr);
  temporaries[slot].fd.store(-1);
}

}  // namespace tornvel
