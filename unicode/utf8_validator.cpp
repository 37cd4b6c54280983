#include "unicode/utf8_validator.h"

#include "unicode/ascii_runs.h"
#include "unicode/utf8_vector_check.h"

namespace quillon::unicode {

void Utf8Validator::Feed(std::span<const char> chunk) noexcept {
  const char* at = chunk.data();
  const char* const end = at + chunk.size();
  while (at < end && !failed_) {
    const auto byte = static_cast<std::uint8_t>(*at);
    if (pending_ > 0) {
      if (byte < low_ || byte > high_) {
        failed_ = true;
        return;
      }
      --pending_;
      low_ = 0x80;
      high_ = 0xBF;
      ++at;
    } else if (byte < 0x80) {
      at = detail::FindFirstNonAscii(at, end);
    } else {
      // Text with many sequences goes fastest through the vectors, which stop short of a
      // sequence they may have cut.
      if (end - at >= 64) {
        const char* const resume = detail::CheckUtf8Vectors(at, end);
        if (resume == nullptr) {
          failed_ = true;
          return;
        }
        if (resume != at) {
          at = resume;
          continue;
        }
      }
      // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
      if (byte >= 0xC2 && byte <= 0xDF) {
        pending_ = 1;
      } else if (byte >= 0xE0 && byte <= 0xEF) {
        pending_ = 2;
        if (byte == 0xE0) low_ = 0xA0;
        if (byte == 0xED) high_ = 0x9F;
      } else if (byte >= 0xF0 && byte <= 0xF4) {
        pending_ = 3;
        if (byte == 0xF0) low_ = 0x90;
        if (byte == 0xF4) high_ = 0x8F;
      } else {
        failed_ = true;
        return;
      }
      ++at;
    }
  }
}

bool IsValidUtf8(std::span<const char> bytes) noexcept {
  Utf8Validator validator;
  validator.Feed(bytes);
  return validator.EndsValid();
}

}  // namespace quillon::unicode
