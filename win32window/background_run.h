#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <stop_token>

namespace quillon {

// Runs work on a thread of its own while the calling (window) thread goes on dispatching its
// messages, so the window keeps painting and answering the system, but takes no user input.
class BackgroundRun {
 public:
  // `window` is the one whose input is refused during a run.
  explicit BackgroundRun(HWND window) noexcept : window_(window) {}

  // Returns when `work` has ended; an exception thrown by it comes out here. A WM_QUIT that
  // arrives meanwhile asks the work to stop and is posted again once it has.
  void Run(const std::function<void(std::stop_token)>& work);

  [[nodiscard]] bool Active() const noexcept { return stop_.has_value(); }

  // Asks the work in progress to stop; it sees this on its stop token.
  void RequestStop() noexcept;

 private:
  HWND window_;
  std::optional<std::stop_source> stop_;
};

}  // namespace quillon
