#pragma once

#include <windows.h>

#include <string_view>

namespace quillon {

// Replaces the clipboard's content with `text` as Unicode text, each LF written as the CR LF
// that Windows programs expect. Throws when the clipboard cannot be had.
void PutOnClipboard(HWND owner, std::wstring_view text);

}  // namespace quillon
