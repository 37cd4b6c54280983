#include "window/busy_state.h"

namespace quillon {

BusyState::BusyState(WindowSurface& surface) : surface_(surface) {
  surface_.ClearResult();
  surface_.SetProgressValue(0);
  surface_.SetBusy(true);
  surface_.SetRevertEnabled(false);
}

BusyState::~BusyState() {
  surface_.SetRevertEnabled(true);
  surface_.SetBusy(false);
  surface_.SetProgressValue(0);
}

}  // namespace quillon
