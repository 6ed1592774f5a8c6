// Interrupts on POSIX systems: a signal handler that removes the remembered
// temporary files and raises the signal again with its default action.
#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "platform/interrupts.h"

namespace tornvel {

namespace {

// A run has at most a statement file and a template seed file under
// temporary names at once; the spare slots cover names tried again.
constexpr int kSlots = 8;

// The handler reads only the published pointer, one lock-free word that it
// sees either set or cleared; the text behind it changes only while
// interrupts are held, so the handler never sees it half written.
struct Temporary {
  std::string path;
  std::atomic<const char*> published{nullptr};
};
Temporary temporaries[kSlots];
static_assert(std::atomic<const char*>::is_always_lock_free);

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
    const char* path = temporary.published.load();
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

}  // namespace

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
  // A reader that goes away (`tornvel -v ... | head`) would otherwise end the
  // run silently, half way; the failed write is reported instead.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, nullptr);
}

InterruptsHeld::InterruptsHeld() {
  if (holdDepth++ > 0) return;
  const sigset_t set = interruptSet();
  if (::sigprocmask(SIG_BLOCK, &set, &heldMask) != 0) sigemptyset(&heldMask);
}

InterruptsHeld::~InterruptsHeld() {
  if (--holdDepth == 0) ::sigprocmask(SIG_SETMASK, &heldMask, nullptr);
}

int rememberTemporary(const std::string& path) {
  InterruptsHeld held;
  for (int slot = 0; slot < kSlots; ++slot) {
    Temporary& temporary = temporaries[slot];
    if (temporary.published.load() != nullptr) continue;
    temporary.path = path;
    temporary.published.store(temporary.path.c_str());
    return slot;
  }
  return -1;
}

void forgetTemporary(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  InterruptsHeld held;
  temporaries[slot].published.store(nullptr);
}

}  // namespace tornvel
