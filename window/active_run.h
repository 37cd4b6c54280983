#pragma once

#include <optional>
#include <stop_token>

namespace quillon {

// Holds the stop source of the run in progress in `slot`, and forgets it however the run ends,
// so that closing the window stops only a run that is still going.
class ActiveRun {
 public:
  ActiveRun(std::optional<std::stop_source>& slot, std::stop_source source) : slot_(slot) { slot_ = std::move(source); }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;
  ~ActiveRun() { slot_.reset(); }

 private:
  std::optional<std::stop_source>& slot_;
};

}  // namespace quillon
