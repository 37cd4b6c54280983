#include "win32window/background_run.h"

#include <exception>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "win32window/user_input.h"
#include "win32window/win32_handles.h"
#include "window/active_run.h"

namespace quillon {

void BackgroundRun::Run(const std::function<void(std::stop_token)>& work) {
  if (Active()) throw std::logic_error("a run is already in progress");
  const UniqueKernelHandle finished(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!finished) throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "cannot make the run's event");
  std::exception_ptr failure;
  std::optional<int> quit;
  {
    std::jthread worker([&](std::stop_token stop) {
      try {
        work(std::move(stop));
      } catch (...) {
        failure = std::current_exception();
      }
      ::SetEvent(finished.get());
    });
    const ActiveRun active(stop_, worker.get_stop_source());
    const HANDLE waitFor = finished.get();
    for (;;) {
      const DWORD woken = ::MsgWaitForMultipleObjectsEx(1, &waitFor, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      if (woken == WAIT_OBJECT_0) break;
      if (woken == WAIT_FAILED) {
        // Nothing left to dispatch on: wait for the work alone.
        ::WaitForSingleObject(waitFor, INFINITE);
        break;
      }
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
          quit = static_cast<int>(message.wParam);
          worker.request_stop();
          continue;
        }
        // Refused, not deferred: a click during the run must not act once it has ended.
        if (IsUserInputTo(message, window_)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    }
  }
  if (quit) ::PostQuitMessage(*quit);
  if (failure) std::rethrow_exception(failure);
}

void BackgroundRun::RequestStop() noexcept {
  if (stop_) stop_->request_stop();
}

}  // namespace quillon
