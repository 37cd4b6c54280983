#include "bench/mode_names.h"

#include <string>

#include "bench/usage_error.h"

namespace quillon::bench {

RevertMode ModeNamed(std::string_view name) {
  for (const NamedMode& named : kNamedModes)
    if (named.Name == name) return named.Mode;
  throw UsageError("unknown mode \"" + std::string(name) + "\" (use simple-revert, line-keep or revert-line)");
}

}  // namespace quillon::bench
