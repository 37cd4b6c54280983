#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quillon::unicode {

// The byte order of UTF-16 text, as its byte-order mark tells it.
enum class Utf16Order { LittleEndian, BigEndian };

inline constexpr std::size_t kUtf16MarkLength = 2;

// The order whose byte-order mark (FF FE or FE FF) `start` begins with, if any.
std::optional<Utf16Order> Utf16OrderOfMark(std::span<const char> start) noexcept;

// Turns UTF-16 fed in consecutive chunks of any size (a code unit or a surrogate pair may
// straddle two chunks) into UTF-8, and tells whether it is well-formed: every surrogate
// paired, and no byte left over at the end.
class Utf16ToUtf8 {
 public:
  explicit Utf16ToUtf8(Utf16Order order) noexcept : order_(order) {}

  // The UTF-8 bytes that Feed may write for a chunk of `chunkBytes` bytes: three a unit, with
  // room for a unit begun in the chunk before and for the vectors' last store.
  static constexpr std::size_t MaxOutput(std::size_t chunkBytes) noexcept { return (chunkBytes / 2 + 4) * 3; }

  // Converts `chunk` into `out`, which has room for MaxOutput(chunk.size()) bytes; returns the
  // bytes written. Once the text is ill-formed, writes nothing more.
  std::size_t Feed(std::span<const char> chunk, char* out) noexcept;

  // False as soon as the bytes so far cannot begin well-formed UTF-16.
  [[nodiscard]] bool StillValid() const noexcept { return !failed_; }
  // Whether everything fed is well-formed UTF-16, with nothing left open.
  [[nodiscard]] bool EndsValid() const noexcept { return !failed_ && !hasOddByte_ && highSurrogate_ == 0; }
  // Whether the bytes fed so far end between two code points.
  [[nodiscard]] bool BetweenCodePoints() const noexcept { return !hasOddByte_ && highSurrogate_ == 0; }

 private:
  // Takes one code unit; false when it makes the text ill-formed.
  bool Unit(std::uint16_t unit, char*& out) noexcept;

  Utf16Order order_;
  bool failed_ = false;
  bool hasOddByte_ = false;
  char oddByte_ = 0;
  std::uint16_t highSurrogate_ = 0;
};

// The bytes of UTF-8 that the whole units in `units` of `order` turn into, when they are
// well-formed UTF-16 (each half of a surrogate pair counted as two bytes). Of ill-formed
// units, a number of no meaning.
std::int64_t Utf8LengthOfUnits(std::span<const char> units, Utf16Order order) noexcept;

// Turns UTF-8 fed in consecutive chunks (a sequence may straddle two) into UTF-16 of `order`.
// Meant for well-formed UTF-8; a byte that begins no well-formed sequence becomes U+FFFD.
class Utf8ToUtf16 {
 public:
  explicit Utf8ToUtf16(Utf16Order order) noexcept : order_(order) {}

  // The UTF-16 bytes that Feed may write for a chunk of `chunkBytes` bytes.
  static constexpr std::size_t MaxOutput(std::size_t chunkBytes) noexcept { return 2 * (chunkBytes + 4); }

  // Converts `chunk` into `out`, which has room for MaxOutput(chunk.size()) bytes; returns the
  // bytes written. A sequence cut off at the chunk's end waits for the next chunk.
  std::size_t Feed(std::span<const char> chunk, char* out) noexcept;

 private:
  Utf16Order order_;
  char pending_[4] = {};
  std::size_t pendingLength_ = 0;
};

}  // namespace quillon::unicode
