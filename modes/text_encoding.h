#pragma once

namespace quillon {

// How a run reads its input. A file that is valid UTF-8 as a whole (a leading byte-order mark
// allowed), or valid UTF-16 after a byte-order mark, is text whose characters are the
// grapheme clusters a reader sees; any other file is bytes, each one a character through
// Windows-1252. The result is in the input's encoding.
enum class TextEncoding { Bytes, Utf8, Utf16LittleEndian, Utf16BigEndian };

}  // namespace quillon
