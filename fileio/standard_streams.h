#pragma once

#include <cstdio>
#include <optional>

#include "fileio/file_handle.h"

namespace quillon {

// The process's standard input and output, as the system has them open. Not to be closed.
NativeHandle StandardInput() noexcept;
NativeHandle StandardOutput() noexcept;

// Whether `stream` is a terminal (a console on Windows), and how many columns it has.
bool IsTerminal(std::FILE* stream) noexcept;
std::optional<int> TerminalColumns(std::FILE* stream) noexcept;

}  // namespace quillon
