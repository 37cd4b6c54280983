#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tests/fault/io_fault.h"
#include "tests/fault/window_run.h"
#include "tests/support/temp_folder.h"

namespace quillon::testing {

// What a case lays out in its folder and what a run on it must come to. Whatever the
// outcome, nothing else in the folder may change: the input keeps its bytes, an earlier
// output stays as it was unless the run succeeds, and no temporary file is left.
struct Scene {
  std::string input;    // the path chosen in the window; the output is this followed by "_rev.txt"
  std::string message;  // the one message the run must show; empty: the run must succeed
  std::string receiver; // on success, the file that must hold the result (by default the output)
  IoFault fault;        // injected into the run's reads or writes
  std::string skipped;  // why the case cannot be laid out here, when it cannot
  std::vector<std::string> changedByTheCase;  // entries the case itself changes during the run
  std::shared_ptr<void> keptDuringTheRun;     // e.g. a mount the files live on
};

// A run that must show `message`, and change nothing.
Scene Failing(std::string input, std::string message, IoFault fault = {});
// A run that must succeed, writing its result to the output or, when given, the file `receiver`.
Scene Succeeding(std::string input, IoFault fault = {}, std::string receiver = "");
Scene Skipped(std::string reason);

struct FaultCase {
  std::string name;
  Runner runner;
  // Lays out the files in the folder, which every user may enter.
  std::function<Scene(const TempFolder& folder)> lay;
};

inline void PrintTo(const FaultCase& faultCase, std::ostream* out) { *out << faultCase.name; }

// Lays out an input holding `bytes` at `path` and an earlier output beside it (at the
// input path followed by "_rev.txt"); returns the input path.
std::string LayInputAndEarlierOutput(const std::string& path, std::string_view bytes);

// Lines of text, `size` bytes or a little more, with LF, CR LF and lone CR breaks.
std::string Lines(std::size_t size);

// Gives a file or folder to the user of unprivileged runs, when the tests run as root.
void GiveToUnprivilegedUser(const std::string& path);

std::string Quoted(const std::string& path);  // "path" in double quotes, as messages name files

// The run's messages for a file it could not open, read or write.
std::string CannotOpen(const std::string& path, const std::string& reason);
std::string CannotRead(const std::string& path, const std::string& reason);
std::string CannotWrite(const std::string& path, const std::string& reason);

// Throws when a case's files could not be laid out as it needs them.
void CheckLaidOut(bool done, const std::string& what);

std::vector<FaultCase> InputCases();
std::vector<FaultCase> OutputCases();
std::vector<FaultCase> ReadAndWriteCases();
std::vector<FaultCase> PathCases();

}  // namespace quillon::testing
