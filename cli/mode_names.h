#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "modes/run_mode.h"

namespace quillon {

// The modes as the command line names them: the window's captions in lower case with dashes.
struct NamedMode {
  std::string_view Name;
  RevertMode Mode;
};

inline constexpr std::array<NamedMode, 3> kNamedModes{{
    {"simple-revert", RevertMode::SimpleRevert},
    {"line-keep", RevertMode::LineKeep},
    {"revert-line", RevertMode::RevertLine},
}};

// The mode called `name`, if there is one.
std::optional<RevertMode> ModeNamed(std::string_view name);

}  // namespace quillon
