#pragma once

#include <windows.h>

namespace quillon {

// Whether `message` is the user's input (keys, mouse in the client area) to `window` or a
// window inside or owned by it. What moves or closes the window (its frame, Alt+F4) is not
// counted: closing stays possible while input is refused. Nor is a drop, which the window
// itself declines during a run, and must release.
bool IsUserInputTo(const MSG& message, HWND window) noexcept;

}  // namespace quillon
