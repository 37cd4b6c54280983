#include "cli/mode_names.h"

namespace quillon {

std::optional<RevertMode> ModeNamed(std::string_view name) {
  for (const NamedMode& named : kNamedModes)
    if (named.Name == name) return named.Mode;
  return std::nullopt;
}

}  // namespace quillon
