// A whole run inside this process, interrupted by a console control event the
// way Windows delivers one: on a thread of its own that calls the handler the
// run registered. wine does not deliver console events to a program without
// a console, so the event is raised here. The program sets up interrupts as
// tornvel's entry point does (catchInterrupts), having first put a recorder in
// front of the system's SetConsoleCtrlHandler in its own import table, which
// learns the handler that the run registers. The run writes its report into a
// small pipe that is read only until the report of migrated exceptions has
// begun, so that it then waits, its statement file open, while the event comes.
//
//   interrupted_run EVENT ARGUMENTS...   (EVENT: c, break, close or logoff)
//
// Before the event, the names in SQLLIB are printed on standard output, one a
// line. The handler ends the process for Ctrl-C, Ctrl-Break and a closed
// console; for an event it declines it returns, "declined" is printed and the
// run goes on to its end, whose exit code is this program's. Exit 2: the
// handler could not be learnt; 3: the handler neither ended the process nor
// declined.
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "driver/run.h"
#include "platform/interrupts.h"

namespace {

using SetHandler = BOOL(WINAPI*)(PHANDLER_ROUTINE, BOOL);
SetHandler systemSetHandler = nullptr;
PHANDLER_ROUTINE registered = nullptr;

BOOL WINAPI recordingSetHandler(PHANDLER_ROUTINE routine, BOOL add) {
  if (add && routine != nullptr) registered = routine;
  return systemSetHandler(routine, add);
}

// The import table slot through which this program calls the system's
// SetConsoleCtrlHandler now points at the recorder.
bool recordRegistrations() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name != 0; ++module) {
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    const auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    for (; slot->u1.Function != 0; ++slot, ++name) {
      if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "SetConsoleCtrlHandler") != 0) {
        continue;
      }
      DWORD protection = 0;
      if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                          &protection)) {
        return false;
      }
      systemSetHandler = reinterpret_cast<SetHandler>(slot->u1.Function);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&recordingSetHandler);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

// Standard output of the run: the write end of a pipe.
class PipeBuffer : public std::streambuf {
 public:
  explicit PipeBuffer(HANDLE pipe) : pipe_(pipe) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return send(&byte, 1) ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* text, std::streamsize size) override {
    return send(text, size) ? size : 0;
  }

 private:
  bool send(const char* text, std::streamsize size) {
    while (size > 0) {
      DWORD sent = 0;
      if (!WriteFile(pipe_, text, static_cast<DWORD>(size), &sent, nullptr)) return false;
      text += sent;
      size -= sent;
    }
    return true;
  }
  HANDLE pipe_;
};

bool eventNamed(const std::string& name, DWORD& event) {
  const std::pair<const char*, DWORD> events[] = {{"c", CTRL_C_EVENT},
                                                  {"break", CTRL_BREAK_EVENT},
                                                  {"close", CTRL_CLOSE_EVENT},
                                                  {"logoff", CTRL_LOGOFF_EVENT}};
  for (const auto& [text, value] : events) {
    if (name != text) continue;
    event = value;
    return true;
  }
  return false;
}

// Windows calls a console handler on a new thread of the process.
DWORD WINAPI deliver(void* event) {
  return registered(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(event))) ? 1 : 0;
}

void readUntil(HANDLE pipe, const std::string& marker) {
  std::string seen;
  char buffer[512];
  DWORD got = 0;
  while (seen.find(marker) == std::string::npos &&
         ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    seen.append(buffer, got);
  }
}

void drain(HANDLE pipe) {
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  DWORD event = 0;
  if (argc < 2 || !eventNamed(argv[1], event)) {
    std::cerr << "usage: interrupted_run c|break|close|logoff ARGUMENTS...\n";
    return 2;
  }
  if (!recordRegistrations()) {
    std::cerr << "SetConsoleCtrlHandler is not in the import table\n";
    return 2;
  }
  tornvel::catchInterrupts();
  if (registered == nullptr) {
    std::cerr << "catchInterrupts registered no console handler\n";
    return 2;
  }

  HANDLE reportRead = nullptr;
  HANDLE reportWrite = nullptr;
  if (!CreatePipe(&reportRead, &reportWrite, nullptr, 4096)) return 2;
  PipeBuffer buffer(reportWrite);
  std::ostream report(&buffer);
  std::vector<std::string> args{"tornvel"};
  args.insert(args.end(), argv + 2, argv + argc);
  int exitCode = -1;
  std::thread run([&] {
    exitCode = static_cast<int>(tornvel::runMigration(args, report, std::cerr));
    CloseHandle(reportWrite);
  });

  // The report waits on the full pipe once the migrated exceptions begin.
  readUntil(reportRead, "Exceptions in profile migrated");
  Sleep(500);
  for (const auto& entry : std::filesystem::directory_iterator("SQLLIB")) {
    std::cout << entry.path().filename().string() << "\n";
  }
  std::cout.flush();

  HANDLE handler = CreateThread(nullptr, 0, deliver,
                                reinterpret_cast<void*>(static_cast<ULONG_PTR>(event)), 0, nullptr);
  if (handler == nullptr) return 2;
  WaitForSingleObject(handler, INFINITE);
  DWORD handled = 1;
  GetExitCodeThread(handler, &handled);
  if (handled != 0) {
    Sleep(10000);  // the process should have ended meanwhile
    return 3;
  }
  std::cout << "declined" << std::endl;
  std::thread reader(drain, reportRead);
  run.join();
  reader.join();
  return exitCode;
}
