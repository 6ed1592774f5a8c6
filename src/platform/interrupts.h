// What a run does when it is interrupted (SIGINT, SIGTERM or SIGHUP; on
// Windows Ctrl-C, Ctrl-Break or a closed console window): it ends at once, by
// the same signal, and leaves no temporary file behind. Most temporary files
// have no name until the outputs take theirs (see output_file.h), so the
// system removes them with the process; the ones that have a name are
// remembered here and removed by the handler. While the outputs take their
// names, an interrupt waits until that step is over, so an interrupted run
// leaves either the earlier files or the complete new ones.
#ifndef TORNVEL_PLATFORM_INTERRUPTS_H_
#define TORNVEL_PLATFORM_INTERRUPTS_H_

#include <string>

namespace tornvel {

// Installs the handlers; called once by the program's entry point. A signal
// that the caller ignores (as nohup does for SIGHUP) stays ignored. A closed
// pipe on standard output is no signal either: the write fails with EPIPE and
// the run reports it like any other failed write.
void catchInterrupts();

// Remembers a temporary file by its host path, to remove on an interrupt;
// remembered before the file is created, so that no moment is left in which
// the file exists unknown. Returns the slot to forget it by, or -1 when every
// slot is taken.
int rememberTemporary(const std::string& path);
void forgetTemporary(int slot);

// Holds interrupts back for its lifetime: one that arrives meanwhile takes
// effect when the holder goes. Holders may nest.
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_INTERRUPTS_H_
