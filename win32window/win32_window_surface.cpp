#include "win32window/win32_window_surface.h"

#include <commctrl.h>

#include <stdexcept>
#include <system_error>

#include "fileio/wide_text.h"
#include "window/layout.h"

namespace quillon {
namespace {

constexpr UINT kPulseMilliseconds = 30;

int PercentShown(float percent) {
  if (!(percent > 0.0f)) return 0;  // NaN too
  if (percent >= 100.0f) return 100;
  return static_cast<int>(percent);
}

// The pointer the window under it asks for, as after a move of the mouse.
void RestorePointer(HWND window) {
  POINT at{};
  if (!::GetCursorPos(&at)) return;
  HWND under = ::WindowFromPoint(at);
  if (under == nullptr || (under != window && !::IsChild(window, under))) return;
  const auto hit = static_cast<WORD>(::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
  ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

// Stops the pulse and shows the run's last state, however the run ends.
class Pulse {
 public:
  Pulse(HWND window, Win32WindowSurface& surface) : window_(window), surface_(surface) {
    if (::SetTimer(window_, Win32WindowSurface::kPulseTimer, kPulseMilliseconds, nullptr) == 0)
      throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "cannot start the window's timer");
  }
  Pulse(const Pulse&) = delete;
  Pulse& operator=(const Pulse&) = delete;
  ~Pulse() {
    ::KillTimer(window_, Win32WindowSurface::kPulseTimer);
    try {
      surface_.ShowRunState();
    } catch (...) {
      // The run's own outcome matters more than its last picture.
    }
  }

 private:
  HWND window_;
  Win32WindowSurface& surface_;
};

}  // namespace

Win32WindowSurface::Win32WindowSurface(HWND window, WindowControls& controls, ResultDocument& result)
    : window_(window), controls_(controls), result_(result), windowThread_(::GetCurrentThreadId()), run_(window) {}

Win32WindowSurface::~Win32WindowSurface() {
  if (busy_) ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

void Win32WindowSurface::EncodingChosen(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Bytes:
    case TextEncoding::Utf8:
      result_.SetUtf8Text(encoding == TextEncoding::Utf8);
      return;
    case TextEncoding::Utf16LittleEndian:
      result_.SetUtf16Text(unicode::Utf16Order::LittleEndian);
      return;
    case TextEncoding::Utf16BigEndian:
      result_.SetUtf16Text(unicode::Utf16Order::BigEndian);
      return;
  }
}

void Win32WindowSurface::ShowProgress() {
  ::SendMessageW(controls_.progressBar, PBM_SETPOS, static_cast<WPARAM>(progress_.load(std::memory_order_relaxed)), 0);
}

void Win32WindowSurface::ShowRunState() {
  ShowProgress();
  controls_.resultBox.Refresh();
}

void Win32WindowSurface::ClearResult() {
  result_.Reset();
  controls_.resultBox.Refresh();
}

void Win32WindowSurface::SetProgressValue(float percent) {
  progress_.store(PercentShown(percent), std::memory_order_relaxed);
  if (::GetCurrentThreadId() == windowThread_) ShowProgress();
}

void Win32WindowSurface::SetRevertEnabled(bool enabled) {
  HWND revert = controls_.revertButton;
  if (!enabled && ::IsWindowEnabled(revert)) {
    revertHadFocus_ = ::GetFocus() == revert;
    // A disabled control keeps the focus it had, and the keyboard would go nowhere.
    if (revertHadFocus_) ::SetFocus(::GetNextDlgTabItem(window_, revert, FALSE));
  }
  ::EnableWindow(revert, enabled);
  // After a run started with Space, a second Space should run again.
  if (enabled && std::exchange(revertHadFocus_, false)) ::SetFocus(revert);
}

RevertMode Win32WindowSurface::SelectedMode() const {
  const auto checked = [](HWND option) { return ::SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED; };
  if (checked(controls_.simpleRevertOption)) return RevertMode::SimpleRevert;
  if (checked(controls_.lineKeepOption)) return RevertMode::LineKeep;
  return RevertMode::RevertLine;
}

void Win32WindowSurface::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  // The window's WM_SETCURSOR keeps the wait pointer while the mouse moves.
  if (busy) ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  else {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    RestorePointer(window_);
  }
}

void Win32WindowSurface::ShowMessage(std::string_view text) {
  if (::MessageBoxW(window_, Widen(text).c_str(), Widen(kApplicationName).c_str(), MB_OK) == 0)
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "cannot show the message \"" + std::string(text) + "\"");
}

void Win32WindowSurface::SetFileLabel(std::string_view text) { ::SetWindowTextW(controls_.fileLabel, Widen(text).c_str()); }

void Win32WindowSurface::RunToCompletion(const std::function<void(std::stop_token)>& work) {
  const Pulse pulse(window_, *this);
  run_.Run(work);
}

}  // namespace quillon
