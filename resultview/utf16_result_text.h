#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "resultview/byte_source.h"
#include "unicode/utf16_text.h"

namespace quillon {

// A UTF-16 result as the view reads it: as the UTF-8 text it stands for, so that lines,
// clusters, cells, caret and copies work on it as on a UTF-8 result. The run's side turns
// each written piece into UTF-8 for the indexes and keeps, every kStep bytes of UTF-16, where
// a code point begins in both; the view's side reads UTF-8 at any offset by converting the
// UTF-16 file from the nearest such place before it. No copy of the text is kept beyond one
// converted stretch.
class Utf16ResultText {
 public:
  static constexpr std::size_t kStep = std::size_t{8} << 10;

  // Starts over with an empty text of `order`.
  void Reset(unicode::Utf16Order order);

  // The run's side: the UTF-8 text of the next written bytes, valid until the next call.
  std::span<const char> Append(std::span<const char> utf16);

  // The view's side. The UTF-8 offset up to which the first `utf16Size` bytes of the file
  // certainly reach.
  [[nodiscard]] std::uint64_t Utf8SizeWithin(std::uint64_t utf16Size) const;

  // The UTF-8 text read through `file`, the UTF-16 bytes of the result. For one thread.
  class Reader : public ByteSource {
   public:
    Reader(const Utf16ResultText& text, const ByteSource& file) noexcept : text_(text), file_(file) {}
    // Forgets what it converted: the file has changed.
    void Forget() noexcept { stretch_.clear(); }
    std::size_t Read(std::uint64_t offset, std::span<char> out) const override;
    [[nodiscard]] std::size_t MemoryBytes() const noexcept { return stretch_.capacity(); }

   private:
    // Converts the file from the last place at or before `offset` into stretch_.
    void ConvertAround(std::uint64_t offset) const;

    const Utf16ResultText& text_;
    const ByteSource& file_;
    mutable std::uint64_t stretchStart_ = 0;
    mutable std::vector<char> stretch_;
    mutable std::vector<char> raw_;
  };

  [[nodiscard]] std::size_t MemoryBytes() const;

 private:
  struct Place {
    std::uint64_t utf8;
    std::uint64_t utf16;
  };
  [[nodiscard]] Place PlaceAtOrBefore(std::uint64_t utf8) const;
  [[nodiscard]] unicode::Utf16Order Order() const;

  mutable std::mutex mutex_;
  unicode::Utf16Order order_ = unicode::Utf16Order::LittleEndian;
  std::vector<Place> places_{{0, 0}};
  std::uint64_t utf8Size_ = 0;   // both as far as appended
  std::uint64_t utf16Size_ = 0;

  // The run's side only.
  std::optional<unicode::Utf16ToUtf8> decoder_;
  std::uint64_t sinceLastPlace_ = 0;
  std::vector<char> converted_;
};

}  // namespace quillon
