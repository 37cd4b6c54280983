#pragma once

#include <chrono>
#include <cstdio>

#include "cli/command_line.h"
#include "fileio/standard_streams.h"

namespace quillon {

// Where a run without a window writes, besides the output files.
struct CommandStreams {
  NativeHandle Input = StandardInput();    // read for the FILE "-"
  NativeHandle Output = StandardOutput();  // receives the result of `--output -`
  std::FILE* Messages = stderr;
  bool ShowProgress = false;   // a bar on Messages, meant for a terminal
  std::chrono::milliseconds ProgressDelay{300};
};

// Reverts every file of the request in turn, through the same engine and output rule as the
// window, telling each failure on Messages as "quillon: <the window's message>". Returns the
// exit status: 0 when every file was reverted, 1 when any failed.
int RevertEachFile(const RevertFiles& request, const CommandStreams& streams);

// The command line's work when it asks for no window: help, version or reverting files.
// Returns the exit status.
int RunWithoutWindow(const CommandLine& commandLine);

}  // namespace quillon
