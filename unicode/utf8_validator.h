#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quillon::unicode {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

inline bool StartsWithByteOrderMark(std::span<const char> bytes) noexcept {
  return std::string_view(bytes.data(), bytes.size()).starts_with(kByteOrderMark);
}

// Tells whether a stream of bytes, fed in consecutive chunks of any size, is well-formed
// UTF-8 as a whole: no overlong forms, no surrogates, nothing above U+10FFFF, and no
// sequence left unfinished at the end. A sequence may straddle chunks.
class Utf8Validator {
 public:
  void Feed(std::span<const char> chunk) noexcept;

  // False as soon as the bytes so far cannot begin well-formed UTF-8.
  [[nodiscard]] bool StillValid() const noexcept { return !failed_; }

  // Whether everything fed is well-formed UTF-8 and no sequence is left open.
  [[nodiscard]] bool EndsValid() const noexcept { return !failed_ && pending_ == 0; }

 private:
  bool failed_ = false;
  std::uint8_t pending_ = 0;  // continuation bytes still expected
  std::uint8_t low_ = 0x80;   // allowed range of the next continuation byte
  std::uint8_t high_ = 0xBF;
};

// The whole of `bytes` at once.
bool IsValidUtf8(std::span<const char> bytes) noexcept;

}  // namespace quillon::unicode
