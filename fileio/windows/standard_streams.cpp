#include "fileio/standard_streams.h"

#include <io.h>
#include <windows.h>

namespace quillon {

namespace {

HANDLE ConsoleOf(std::FILE* stream) {
  const int descriptor = ::_fileno(stream);
  if (descriptor < 0) return INVALID_HANDLE_VALUE;
  return reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
}

}  // namespace

NativeHandle StandardInput() noexcept { return ::GetStdHandle(STD_INPUT_HANDLE); }

NativeHandle StandardOutput() noexcept { return ::GetStdHandle(STD_OUTPUT_HANDLE); }

bool IsTerminal(std::FILE* stream) noexcept {
  DWORD mode = 0;
  return ::GetConsoleMode(ConsoleOf(stream), &mode) != 0;
}

std::optional<int> TerminalColumns(std::FILE* stream) noexcept {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!::GetConsoleScreenBufferInfo(ConsoleOf(stream), &info)) return std::nullopt;
  const int columns = info.srWindow.Right - info.srWindow.Left + 1;
  return columns > 0 ? std::optional<int>(columns) : std::nullopt;
}

}  // namespace quillon
