#pragma once

namespace quillon {

// Where a scan for runs of non-break bytes stands between calls: inside a run that began at
// `runStart`, or among breaks.
struct RunScan {
  bool inRun = false;
  char* runStart = nullptr;
};

// "Revert Line"'s step inside one block: reverses in place the bytes of every run of non-break
// bytes in [from, to) that ends before `to`. A run still open at `to` is left for the next call.
void ReverseEndedByteRuns(char* from, char* to, RunScan& scan);

}  // namespace quillon
