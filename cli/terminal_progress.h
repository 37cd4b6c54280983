#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "modes/run_observer.h"

namespace quillon {

// A progress bar on a terminal for one run: nothing for a run that ends within `delay`, then
// "name [#####.....]  42%" redrawn in place as the whole percent changes, and wiped when the
// run is over, so that only messages stay on the screen.
class TerminalProgress : public RunObserver {
 public:
  TerminalProgress(std::FILE* terminal, std::string_view name, std::chrono::milliseconds delay);
  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;
  ~TerminalProgress() override;

  void SetProgressValue(float percent) override;

 private:
  void Draw(int percent);

  std::FILE* terminal_;
  std::string name_;
  std::chrono::steady_clock::time_point showFrom_;
  int shownPercent_ = -1;
};

// The bar's line for `percent` in `width` columns, the name cut short from the front to fit.
std::string ProgressLine(std::string_view name, int percent, int width);

}  // namespace quillon
