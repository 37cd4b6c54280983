#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "modes/input_text.h"
#include "modes/mode_context.h"
#include "modes/run_files.h"

namespace quillon {

// Whether the input is UTF-16 text: it begins with a byte-order mark (FF FE or FE FF) and is
// well-formed UTF-16 after it, an even number of bytes with every surrogate paired. If so, it
// is turned into a UTF-8 copy in a scratch file, its mark EF BB BF, which the run then reads
// (and whose result reaches the output as UTF-16 again): the returned InputText describes the
// copy. Nothing for any other input, which stays as it was. `beforeRead` is told how many
// bytes are done before each read. Throws RunCancelled when the run is asked to stop.
std::optional<InputText> TakeUtf16Input(RunFiles& files, const ModeContext& context,
                                        const std::function<void(std::int64_t done)>& beforeRead);

// Whether the input begins as UTF-16 text would: an even number of bytes after a byte-order mark.
bool StartsAsUtf16(const FileHandle& input, std::int64_t size);

// The encoding a run on such an input shows.
TextEncoding Utf16EncodingOf(unicode::Utf16Order order) noexcept;

}  // namespace quillon
