// Interrupts on Windows: the console's control handler runs on a thread of
// its own while the run's thread goes on. It takes the naming lock, which the
// run holds while its outputs take their names and while it creates or
// forgets a named temporary file, removes the named temporary files and ends
// the process. It neither allocates, nor calls the C runtime, nor stops the
// run's thread, any of which could leave it waiting for a lock that the
// stopped thread holds. Temporary files without a name of their own are
// marked for deletion by the system (host_files), which removes them when
// the process ends, however it ends.
#include <windows.h>

#include <string>

#include "platform/host_files.h"
#include "platform/interrupts.h"

namespace tornvel {

namespace {

constexpr int kSlots = 8;

// Each path in the form the system's calls take, made before the lock is
// taken; read by the handler only under the lock.
struct Temporary {
  std::wstring path;
  bool used = false;
};
Temporary temporaries[kSlots];

CRITICAL_SECTION namingLock;
bool caught = false;  // catchInterrupts was called: the lock exists
int holdDepth = 0;

// The exit status Windows gives a process ended by Ctrl-C.
constexpr UINT kInterruptedStatus = 0xC000013A;

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  // Never left: the process ends while the handler holds the lock, so the
  // run cannot start to name an output any more.
  ::EnterCriticalSection(&namingLock);
  for (const Temporary& temporary : temporaries) {
    // Opened to be deleted by name: it goes once the process has ended.
    if (temporary.used) ::DeleteFileW(temporary.path.c_str());
  }
  ::TerminateProcess(::GetCurrentProcess(), kInterruptedStatus);
  return TRUE;
}

}  // namespace

void catchInterrupts() {
  ::InitializeCriticalSection(&namingLock);
  caught = true;
  ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

InterruptsHeld::InterruptsHeld() {
  if (caught && holdDepth++ == 0) ::EnterCriticalSection(&namingLock);
}

InterruptsHeld::~InterruptsHeld() {
  if (caught && --holdDepth == 0) ::LeaveCriticalSection(&namingLock);
}

int rememberTemporary(const std::string& path) {
  std::wstring wide = host::widePath(path);
  InterruptsHeld held;
  for (int slot = 0; slot < kSlots; ++slot) {
    Temporary& temporary = temporaries[slot];
    if (temporary.used) continue;
    temporary.path = std::move(wide);
    temporary.used = true;
    return slot;
  }
  return -1;
}

void forgetTemporary(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  InterruptsHeld held;
  temporaries[slot].used = false;
}

}  // namespace tornvel
