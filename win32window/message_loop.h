#pragma once

#include "win32window/main_window.h"

namespace quillon {

// Dispatches the thread's messages, with the window's keyboard navigation, until WM_QUIT;
// returns its exit code.
int RunMessageLoop(MainWindow& window);

}  // namespace quillon
