#pragma once

#include <array>
#include <string_view>

#include "modes/run_mode.h"

namespace quillon::bench {

// The modes as the command line names them.
struct NamedMode {
  std::string_view Name;
  RevertMode Mode;
};

inline constexpr std::array<NamedMode, 3> kNamedModes{{
    {"simple-revert", RevertMode::SimpleRevert},
    {"line-keep", RevertMode::LineKeep},
    {"revert-line", RevertMode::RevertLine},
}};

// The mode called `name`. Throws UsageError for any other name.
RevertMode ModeNamed(std::string_view name);

}  // namespace quillon::bench
