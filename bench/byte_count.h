#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::bench {

inline constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
inline constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

// A byte count as typed: "1073741824", "64MiB", "64M", "1GiB", "512KiB". The suffixes are
// binary. Throws UsageError for anything else, and for 0.
std::uint64_t ParseByteCount(std::string_view text);

// "1 GiB", "64 MiB", "12345 bytes": exact, in the largest unit that divides the count.
std::string DescribeByteCount(std::uint64_t bytes);

}  // namespace quillon::bench
