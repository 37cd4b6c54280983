#pragma once

namespace quillon {

// How a run reads its input. A file that is valid UTF-8 as a whole (a leading byte-order mark
// allowed) is text whose characters are the grapheme clusters a reader sees; any other file
// is bytes, each one a character through Windows-1252.
enum class TextEncoding { Bytes, Utf8 };

}  // namespace quillon
