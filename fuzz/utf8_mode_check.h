#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quillon::fuzzing {

// Runs a mode on well-formed UTF-8 text, or on the same text in UTF-16 of either byte order
// (now and then with a lone surrogate), and compares everything with the cluster-at-a-time
// model, as CheckMode does. The input holds the mode, a block size, a progress step and the
// text's form (UTF-8 with or without a byte-order mark, or UTF-16); each byte after them below
// 0x80 stands for itself, each other byte for a code point that one of the cluster rules is
// about.
std::string CheckUtf8Modes(std::span<const std::uint8_t> fuzzInput);

}  // namespace quillon::fuzzing
