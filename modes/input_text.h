#pragma once

#include <cstdint>
#include <functional>

#include "modes/mode_context.h"
#include "modes/text_encoding.h"

namespace quillon {

// How a run reads its input, decided in one pass over it before anything is written.
struct InputText {
  TextEncoding Encoding = TextEncoding::Bytes;
  // Whether the modes work on grapheme clusters. Text of ASCII bytes only reads the same as
  // bytes, so it takes the byte path even as UTF-8.
  bool ClusterWise = false;
  // A byte-order mark at the start of UTF-8 text stays at the start of every result.
  std::int64_t ByteOrderMarkLength = 0;
};

// Reads the whole input forwards and tells whether it is UTF-8 text: well-formed UTF-8 as
// a whole, a leading byte-order mark allowed. `beforeRead` is told how many bytes are done
// before each read. Throws RunCancelled when the run is asked to stop.
InputText ExamineInput(const FileHandle& input, std::int64_t size, const ModeContext& context,
                       const std::function<void(std::int64_t done)>& beforeRead);

// What the input's first and last `probe` bytes tell of it, for a run that begins before the
// rest is read: bytes for certain when either end is not UTF-8; otherwise UTF-8 text when
// either holds a byte that is not ASCII, else text of ASCII bytes, both still to be confirmed.
struct EncodingGuess {
  InputText Text;
  bool Settled = false;
};
// `size` is at least 2.
EncodingGuess GuessFromEnds(const FileHandle& input, std::int64_t size, std::int64_t probe);

// The bytes read at a time while examining the input: small enough that each piece is still
// in the processor's cache when it is scanned, so that the pass over an ASCII file costs
// little more than copying it out of the page cache.
inline constexpr std::int64_t kExaminationReadSize = std::int64_t{256} << 10;

}  // namespace quillon
