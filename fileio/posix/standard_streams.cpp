#include "fileio/standard_streams.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace quillon {

NativeHandle StandardInput() noexcept { return STDIN_FILENO; }

NativeHandle StandardOutput() noexcept { return STDOUT_FILENO; }

bool IsTerminal(std::FILE* stream) noexcept { return ::isatty(::fileno(stream)) == 1; }

std::optional<int> TerminalColumns(std::FILE* stream) noexcept {
  winsize size{};
  if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return std::nullopt;
}

}  // namespace quillon
