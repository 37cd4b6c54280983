#include "win32window/message_loop.h"

#include <system_error>

namespace quillon {

int RunMessageLoop(MainWindow& window) {
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "cannot read the window's messages");
    if (window.HandleNavigation(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace quillon
