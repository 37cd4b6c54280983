#include <stdexcept>

#include "tests/fault/fault_case.h"
#include "tests/fault/small_file_system.h"

namespace quillon::testing {

namespace {

using Kind = IoFault::Kind;

// Large enough for many of the window's blocks, so that each fault strikes mid-file.
constexpr std::size_t kInputSize = 40000;

const std::string kShorter = "the file became shorter while it was read";

}  // namespace

std::vector<FaultCase> ReadAndWriteCases() {
  return {
      {"ReadFailsMidFile", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(kInputSize));
         return Failing(input, CannotRead(input, "Input/output error"), {Kind::BadByte, kInputSize / 2, "", ""});
       }},
      {"ReadComesUpShortMidFile", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(kInputSize));
         return Failing(input, CannotRead(input, kShorter), {Kind::EndsEarly, kInputSize / 2, "", ""});
       }},
      {"InputShrinksDuringTheRun", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(kInputSize));
         Scene scene = Failing(input, CannotRead(input, kShorter), {Kind::ShrinksMidRun, 10, input, ""});
         scene.changedByTheCase = {"in.txt"};
         return scene;
       }},
      // The run reverts the input as it was when the run began.
      {"InputGrowsDuringTheRun", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(kInputSize));
         Scene scene = Succeeding(input, {Kind::GrowsMidRun, 5000, input, ""});
         scene.changedByTheCase = {"in.txt"};
         return scene;
       }},
      // Reads and writes that the system splits or interrupts are carried on to the end.
      {"ReadsAndWritesInterruptedAndSplit", Runner::InProcess,
       [](const TempFolder& folder) {
         return Succeeding(LayInputAndEarlierOutput(folder.File("in.txt"), Lines(kInputSize)), {Kind::Piecemeal, 999, "", ""});
       }},
      {"DiskFullMidFile", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(kInputSize));
         return Failing(input, CannotWrite(input + "_rev.txt", "No space left on device"), {Kind::DiskFull, kInputSize / 2, "", ""});
       }},
      {"WriteAcceptsNothingMidFile", Runner::InProcess,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(kInputSize));
         return Failing(input, CannotWrite(input + "_rev.txt", "No space left on device"), {Kind::WritesNothing, kInputSize / 2, "", ""});
       }},
      // A real file system that fills up: a small tmpfs, where this machine lets the tests mount one.
      {"DiskFullOnASmallFileSystem", Runner::InProcess,
       [](const TempFolder& folder) {
         auto small = std::make_shared<SmallFileSystem>(folder.File("small"), kInputSize + 16 * 1024);
         if (!small->mounted()) return Skipped("cannot mount a small tmpfs here: " + small->reason());
         const std::string input = LayInputAndEarlierOutput(folder.File("small/in.txt"), Lines(kInputSize));
         Scene scene = Failing(input, CannotWrite(input + "_rev.txt", "No space left on device"));
         scene.keptDuringTheRun = small;
         return scene;
       }},
      {"FileSizeLimit", Runner::UnderFileSizeLimit,
       [](const TempFolder& folder) {
         const std::string input = LayInputAndEarlierOutput(folder.File("in.txt"), Lines(4 * kFileSizeLimit));
         return Failing(input, CannotWrite(input + "_rev.txt", "File too large"));
       }},
  };
}

}  // namespace quillon::testing
