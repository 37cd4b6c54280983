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

void UseParentConsole() {
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  ToConsole(STD_INPUT_HANDLE, stdin, "CONIN$", "r");
  ToConsole(STD_OUTPUT_HANDLE, stdout, "CONOUT$", "w");
  ToConsole(STD_ERROR_HANDLE, stderr, "CONOUT$", "w");
}

}  // namespace quillon
