#pragma once

#include "window/window_surface.h"

namespace quillon {

// The window's state during a run: entered on construction (result cleared, bar at 0,
// busy pointer, Revert disabled) and always left on destruction (Revert enabled, default
// pointer, bar at 0), whatever ends the run.
class BusyState {
 public:
  explicit BusyState(WindowSurface& surface);
  BusyState(const BusyState&) = delete;
  BusyState& operator=(const BusyState&) = delete;
  ~BusyState();

 private:
  WindowSurface& surface_;
};

}  // namespace quillon
