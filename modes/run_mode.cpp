#include "modes/run_mode.h"

#include "modes/line_keep_revert.h"
#include "modes/revert_line.h"
#include "modes/simple_revert.h"

namespace quillon {

void RunMode(RevertMode mode, const ModeContext& context) {
  switch (mode) {
    case RevertMode::SimpleRevert:
      SimpleRevert(context);
      return;
    case RevertMode::LineKeep:
      LineKeepRevert(context);
      return;
    case RevertMode::RevertLine:
      RevertLine(context);
      return;
  }
}

}  // namespace quillon
