#include "app/windows/parent_console.h"

#include <windows.h>

#include <cstdio>
#include <io.h>

namespace quillon {
namespace {

bool Usable(HANDLE handle) noexcept {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Both the system's standard handle and the C library's stream, which the program writes
// through, go to the console device.
void ToConsole(DWORD which, std::FILE* stream, const char* device, const char* mode) {
  if (Usable(::GetStdHandle(which))) return;
  if (std::freopen(device, mode, stream) == nullptr) return;
  const intptr_t handle = _get_osfhandle(_fileno(stream));
  if (handle != -1) ::SetStdHandle(which, reinterpret_cast<HANDLE>(handle));
}

}  // namespace

bool UseParentConsole() {
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  ToConsole(STD_INPUT_HANDLE, stdin, "CONIN$", "r");
  ToConsole(STD_OUTPUT_HANDLE, stdout, "CONOUT$", "w");
  ToConsole(STD_ERROR_HANDLE, stderr, "CONOUT$", "w");
  return true;
}

// Without a console GetConsoleOutputCP gives 0 and there is nothing to set or restore.
Utf8ConsoleOutput::Utf8ConsoleOutput() noexcept : previous_(::GetConsoleOutputCP()) {
  if (previous_ != 0 && previous_ != CP_UTF8) ::SetConsoleOutputCP(CP_UTF8);
}

Utf8ConsoleOutput::~Utf8ConsoleOutput() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (previous_ != 0 && previous_ != CP_UTF8) ::SetConsoleOutputCP(previous_);
}

}  // namespace quillon
