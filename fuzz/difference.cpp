#include "fuzz/difference.h"

#include <algorithm>
#include <cstdio>

namespace quillon::fuzzing {

namespace {

std::string ByteAt(std::string_view bytes, std::size_t at) {
  if (at >= bytes.size()) return "the end";
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[at]));
  return hex;
}

}  // namespace

std::string Difference(std::string_view what, std::string_view got, std::string_view expected) {
  if (got == expected) return "";
  const auto parted = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
  const auto at = static_cast<std::size_t>(parted.first - got.begin());
  return std::string(what) + ": " + std::to_string(got.size()) + " bytes, expected " + std::to_string(expected.size()) +
         "; first difference at byte " + std::to_string(at) + ": " + ByteAt(got, at) + ", expected " + ByteAt(expected, at);
}

}  // namespace quillon::fuzzing
