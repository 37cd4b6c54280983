#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "fuzz/backward_lines_check.h"
#include "fuzz/mode_check.h"
#include "fuzz/result_cells_check.h"
#include "fuzz/unicode_kernels_check.h"
#include "fuzz/utf8_mode_check.h"

namespace quillon::fuzzing {

// Each fuzz target by name: its executable is fuzz_<name>, its seed corpus fuzz/corpus/<name>/
// and the inputs that once failed it fuzz/regressions/<name>/.
struct FuzzTarget {
  std::string_view Name;
  std::string (*Check)(std::span<const std::uint8_t> input);
};

inline constexpr FuzzTarget kFuzzTargets[] = {
    {"simple_revert", [](std::span<const std::uint8_t> input) { return CheckMode(RevertMode::SimpleRevert, input); }},
    {"line_keep", [](std::span<const std::uint8_t> input) { return CheckMode(RevertMode::LineKeep, input); }},
    {"revert_line", [](std::span<const std::uint8_t> input) { return CheckMode(RevertMode::RevertLine, input); }},
    {"backward_lines", CheckBackwardLines},
    {"unicode_kernels", CheckUnicodeKernels},
    {"utf8_modes", CheckUtf8Modes},
    {"result_cells", CheckResultCells},
};

// A name not in the table fails to compile where it is looked up at compile time.
constexpr const FuzzTarget& TargetNamed(std::string_view name) {
  for (const FuzzTarget& target : kFuzzTargets)
    if (target.Name == name) return target;
  throw "no fuzz target of that name";
}

}  // namespace quillon::fuzzing
