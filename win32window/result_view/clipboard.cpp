#include "win32window/result_view/clipboard.h"

#include <algorithm>
#include <stdexcept>

#include "win32window/win32_handles.h"

namespace quillon {
namespace {

class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    // Another program may hold it for a moment.
    for (int attempt = 0; attempt < 10; ++attempt) {
      if (::OpenClipboard(owner)) return;
      ::Sleep(10);
    }
    throw std::runtime_error("cannot open the clipboard");
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  ~OpenClipboardScope() { ::CloseClipboard(); }
};

class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL memory) : memory_(memory), bytes_(::GlobalLock(memory)) {
    if (bytes_ == nullptr) throw std::runtime_error("cannot lock the clipboard's memory");
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  ~LockedGlobal() { ::GlobalUnlock(memory_); }
  [[nodiscard]] void* get() const noexcept { return bytes_; }

 private:
  HGLOBAL memory_;
  void* bytes_;
};

}  // namespace

void PutOnClipboard(HWND owner, std::wstring_view text) {
  const std::size_t lineFeeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), L'\n'));
  const std::size_t units = text.size() + lineFeeds + 1;
  UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, units * sizeof(wchar_t)));
  if (!memory) throw std::runtime_error("not enough memory for the copy");
  {
    const LockedGlobal locked(memory.get());
    auto* out = static_cast<wchar_t*>(locked.get());
    for (const wchar_t unit : text) {
      if (unit == L'\n') *out++ = L'\r';
      *out++ = unit;
    }
    *out = L'\0';
  }
  const OpenClipboardScope open(owner);
  if (!::EmptyClipboard()) throw std::runtime_error("cannot empty the clipboard");
  if (::SetClipboardData(CF_UNICODETEXT, memory.get()) == nullptr) throw std::runtime_error("cannot put the copy on the clipboard");
  // The clipboard owns it now.
  (void)memory.release();
}

}  // namespace quillon
