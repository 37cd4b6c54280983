#pragma once

#include <string>
#include <string_view>

namespace quillon::bench {

// In a process of its own: shows the window offscreen, chooses `inputPath`, selects the mode
// named `modeName`, clicks Revert and measures the window as a user meets it. Prints a
// ProbeReport on stdout: click_to_idle_s, first_paint_ms, ctrl_end_ms, ctrl_end_reached (1 or
// 0), longest_gap_ms, paints.
int WindowProbe(std::string_view modeName, const std::string& inputPath);

}  // namespace quillon::bench
