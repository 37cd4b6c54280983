#pragma once

#include <functional>
#include <optional>
#include <stop_token>

namespace quillon {

// Runs work on a thread of its own while the calling (GUI) thread goes on handling its events
// in a local event loop, so the window keeps painting and answering the window system.
class BackgroundRun {
 public:
  // Returns when `work` has ended; an exception thrown by it comes out here. If the event loop
  // is ended from elsewhere (the application quitting), the work is asked to stop first.
  void Run(const std::function<void(std::stop_token)>& work);

  [[nodiscard]] bool Active() const noexcept { return stop_.has_value(); }

  // Asks the work in progress to stop; it sees this on its stop token.
  void RequestStop() noexcept;

 private:
  std::optional<std::stop_source> stop_;
};

}  // namespace quillon
