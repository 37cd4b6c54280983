#pragma once

#include <windows.h>

namespace quillon {

// Whether `message` is the user's input (keys, mouse in the client area, a drop) to `window`
// or a window inside or owned by it. What moves or closes the window (its frame, Alt+F4) is not
// counted: closing stays possible while input is refused.
bool IsUserInputTo(const MSG& message, HWND window) noexcept;

}  // namespace quillon
