#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillon::fuzzing {

// Checks the Unicode library on one input. The first byte picks how the rest becomes text:
// with its low bit clear the bytes are taken as they are, malformed ones and unassigned code
// points (which the reference knows nothing of) replaced by U+FFFD;
// with it set each byte from 0x80 up stands for a code point from a list that touches every
// break rule. Its other bits give a chunk size for the streaming validator, which must agree
// with a whole-input check and with a decoder walk on the raw bytes. The cluster boundaries
// of the text, line breaks included, must match utf8proc's, and on every run between line
// breaks the three kernels must match their cluster-by-cluster versions.
// Returns what differed, or "" when all agreed.
std::string CheckUnicodeKernels(std::span<const std::uint8_t> fuzzInput);

}  // namespace quillon::fuzzing
