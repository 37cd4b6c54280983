#pragma once

#include <cstdint>

namespace quillon::bench {

// In a process of its own: the result view alone over UTF-8 text of `bytes` bytes on a single
// line (CJK, emoji with modifiers, flags, accents and ASCII mixed), fed as a run feeds it.
// Prints a ProbeReport: index_mb_s and bytes_index_mb_s (what indexing costs the writer,
// UTF-8 against bytes), the same on lines of 0 to 240 bytes (lines_index_mb_s,
// lines_bytes_index_mb_s), first_paint_ms, ctrl_end_ms, sideways_ms (the longest of a jump from
// the end to the start and to the middle of the line, each painted), and paint_us_per_line
// over a page of short emoji-heavy lines, first cold then warm.
int Utf8ViewProbe(std::uint64_t bytes);

}  // namespace quillon::bench
