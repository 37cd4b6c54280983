#include "bench/run_command.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "bench/mode_names.h"
#include "modes/run_mode.h"
#include "modes/failure_message.h"
#include "modes/output_path.h"

namespace quillon::bench {

namespace {

// The bar is not timed: the window's own cost of showing progress belongs to its benchmark.
class IgnoredProgress : public RunObserver {
 public:
  void SetProgressValue(float) override {}
};

double PeakResidentMiB() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

}  // namespace

int RunCommand(std::string_view modeName, const std::string& inputPath) {
  const RevertMode mode = ModeNamed(modeName);
  const std::string outputPath = OutputPathFor(inputPath);
  IgnoredProgress progress;
  const auto start = std::chrono::steady_clock::now();
  try {
    RunMode(mode, ModeContext{inputPath, outputPath, progress, {}, EngineTuning{}});
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", FailureMessage(error, inputPath).c_str());
    return 1;
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("{\"mode\": \"%.*s\", \"bytes\": %ju, \"seconds\": %.6f, \"peak_rss_mib\": %.1f}\n",
              static_cast<int>(modeName.size()), modeName.data(), static_cast<std::uintmax_t>(std::filesystem::file_size(inputPath)),
              seconds.count(), PeakResidentMiB());
  return 0;
}

}  // namespace quillon::bench
