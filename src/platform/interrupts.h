// What a run does when it is interrupted (SIGINT, SIGTERM or SIGHUP; on
// Windows Ctrl-C, Ctrl-Break or a closed console window): it removes the
// temporary files of its outputs and ends by the same signal, so that the
// earlier outputs stay as they were and nothing is left beside them. While the
// outputs take their names, an interrupt waits until that step is over, so an
// interrupted run leaves either the earlier files or the complete new ones.
#ifndef TORNVEL_PLATFORM_INTERRUPTS_H_
#define TORNVEL_PLATFORM_INTERRUPTS_H_

namespace tornvel {

// Installs the handlers; called once by the program's entry point. A signal
// that the caller ignores (as nohup does for SIGHUP) stays ignored.
void catchInterrupts();

// Remembers a temporary file by its host path, to remove on an interrupt;
// remembered before the file is created, so that no moment is left in which
// the file exists unknown. `path` must stay valid and unchanged until it is
// forgotten. Returns the slot to forget it by, or -1 when every slot is taken.
int rememberTemporary(const char* path);
// The descriptor the file is open with (-1 once closed): Windows closes it
// before it removes the file.
void setTemporaryDescriptor(int slot, int fd);
void forgetTemporary(int slot);

// Holds interrupts back for its lifetime: one that arrives meanwhile takes
// effect when the holder goes.
class InterruptsHeld {
 public:
  InterruptsHeld();
  ~InterruptsHeld();
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;
};

}  // namespace tornvel

#endif  // TORNVEL_PLATFORM_INTERRUPTS_H_
