#include "tests/win32window/window_fixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "fileio/wide_text.h"

namespace quillon::testing {

ShownWindow::ShownWindow(EngineTuning tuning) : window(chooser, tuning) {
  ::ShowWindow(window.hwnd(), SW_SHOW);
  ::UpdateWindow(window.hwnd());
  PumpMessages();
}

void ShownWindow::Choose(std::optional<std::string> reply) {
  chooser.replies.push_back(std::move(reply));
  ::SendMessageW(controls().chooseFileButton, BM_CLICK, 0, 0);
}

void ShownWindow::ClickRevert() const { ::SendMessageW(controls().revertButton, BM_CLICK, 0, 0); }

void ShownWindow::SelectMode(RevertMode mode) const { ::SendMessageW(controls().ModeOption(mode), BM_CLICK, 0, 0); }

std::wstring ShownWindow::ResultShown() {
  ResultView& view = window.controls().resultBox;
  return view.Text({}, view.endPosition());
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

RECT PlaceOf(HWND control) {
  RECT place{};
  ::GetWindowRect(control, &place);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

namespace {

MessageCatcher* activeCatcher = nullptr;

BOOL CALLBACK CloseMessageBox(HWND window, LPARAM) {
  wchar_t className[16]{};
  ::GetClassNameW(window, className, 16);
  if (std::wstring_view(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
  Message message{TextOf(window), {}};
  // The message is the longest static text: the other one, if any, holds the icon.
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ::GetClassNameW(child, className, 16);
    const std::string text = TextOf(child);
    if (_wcsicmp(className, L"Static") == 0 && text.size() > message.text.size()) message.text = text;
  }
  activeCatcher->messages.push_back(std::move(message));
  ::PostMessageW(window, WM_COMMAND, IDOK, 0);
  ::ShowWindow(window, SW_HIDE);
  return TRUE;
}

void CALLBACK PollForMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
  if (activeCatcher != nullptr) ::EnumThreadWindows(::GetCurrentThreadId(), CloseMessageBox, 0);
}

std::map<HWND, BarRecorder*> recorders;

LRESULT CALLBACK RecordPosition(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR recorder) {
  if (message == PBM_SETPOS) reinterpret_cast<BarRecorder*>(recorder)->positions.push_back(static_cast<int>(wParam));
  return ::DefSubclassProc(bar, message, wParam, lParam);
}

constexpr UINT_PTR kRecorderId = 1;

std::map<UINT_PTR, WhenReady*> waiting;

}  // namespace

MessageCatcher::MessageCatcher() : timer_(::SetTimer(nullptr, 0, 20, PollForMessageBoxes)) { activeCatcher = this; }

MessageCatcher::~MessageCatcher() {
  ::KillTimer(nullptr, timer_);
  activeCatcher = nullptr;
}

BarRecorder::BarRecorder(HWND bar) : bar_(bar) {
  ::SetWindowSubclass(bar_, RecordPosition, kRecorderId, reinterpret_cast<DWORD_PTR>(this));
}

BarRecorder::~BarRecorder() { ::RemoveWindowSubclass(bar_, RecordPosition, kRecorderId); }

WhenReady::WhenReady(std::function<bool()> ready, std::function<void()> action)
    : ready_(std::move(ready)), action_(std::move(action)), timer_(::SetTimer(nullptr, 0, 5, Tick)) {
  waiting[timer_] = this;
}

WhenReady::~WhenReady() {
  ::KillTimer(nullptr, timer_);
  waiting.erase(timer_);
}

void CALLBACK WhenReady::Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  const auto found = waiting.find(timer);
  if (found == waiting.end()) return;
  WhenReady& self = *found->second;
  if (self.done_ || !self.ready_()) return;
  self.done_ = true;
  self.action_();
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
  ::GetKeyboardState(before_);
  BYTE held[256];
  std::copy(std::begin(before_), std::end(before_), std::begin(held));
  for (const int key : keys) held[key] = 0x80;
  ::SetKeyboardState(held);
}

HeldKeys::~HeldKeys() { ::SetKeyboardState(before_); }

void Press(MainWindow& window, WPARAM key) {
  const auto scan = static_cast<LPARAM>(::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC)) << 16;
  for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
    MSG press{::GetFocus(), message, key, 1 | scan | (message == WM_KEYUP ? static_cast<LPARAM>(0xC0000000u) : 0), 0, {}};
    if (window.HandleNavigation(press)) continue;
    ::TranslateMessage(&press);
    ::DispatchMessageW(&press);
  }
  PumpMessages();
}

::testing::AssertionResult IsIdle(const ShownWindow& shown) {
  const WindowControls& controls = shown.controls();
  if (!::IsWindowEnabled(controls.revertButton)) return ::testing::AssertionFailure() << "Revert is disabled";
  if (shown.window.surface().Busy()) return ::testing::AssertionFailure() << "the wait pointer is on";
  const auto bar = ::SendMessageW(controls.progressBar, PBM_GETPOS, 0, 0);
  if (bar != 0) return ::testing::AssertionFailure() << "the bar is at " << bar;
  return ::testing::AssertionSuccess();
}

// A DROPFILES header and the UTF-16 names, each ended by a NUL, the list by a second one.
HGLOBAL MakeDrop(const std::vector<std::wstring>& files) {
  std::wstring names;
  for (const std::wstring& file : files) names += file + L'\0';
  names += L'\0';
  const std::size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  return memory;
}

std::string ReadShared(const std::string& path) {
  HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path + ", error " + std::to_string(::GetLastError()));
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  ::CloseHandle(file);
  return bytes;
}

std::wstring ClipboardText() {
  if (!::OpenClipboard(nullptr)) return L"<clipboard not open>";
  std::wstring text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* units = static_cast<const wchar_t*>(::GlobalLock(data))) {
      text = units;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

}  // namespace quillon::testing
