#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/recording_surface.h"
#include "win32window/main_window.h"

namespace quillon::testing {

// The real window with a scripted chooser, shown.
struct ShownWindow {
  explicit ShownWindow(EngineTuning tuning = {});

  // Clicks "..." with `reply` as the chooser's answer; nothing stands for a cancel.
  void Choose(std::optional<std::string> reply);
  void ClickRevert() const;
  void SelectMode(RevertMode mode) const;

  [[nodiscard]] const WindowControls& controls() const { return window.controls(); }
  // The characters the result box shows, each line break one LF.
  [[nodiscard]] std::wstring ResultShown();

  ScriptedChooser chooser;
  MainWindow window;
};

// The text of a window, as UTF-8.
std::string TextOf(HWND window);
// The rectangle of a control in its parent's client area.
RECT PlaceOf(HWND control);
// Dispatches what the thread's queue holds.
void PumpMessages();

// What a message box showed.
struct Message {
  std::string title;
  std::string text;
};

// Closes every message box the code under test opens while this lives, with OK, and keeps
// what each showed.
class MessageCatcher {
 public:
  MessageCatcher();
  MessageCatcher(const MessageCatcher&) = delete;
  MessageCatcher& operator=(const MessageCatcher&) = delete;
  ~MessageCatcher();

  std::vector<Message> messages;

 private:
  UINT_PTR timer_;
};

// Every position the progress bar is given while this lives.
class BarRecorder {
 public:
  explicit BarRecorder(HWND bar);
  BarRecorder(const BarRecorder&) = delete;
  BarRecorder& operator=(const BarRecorder&) = delete;
  ~BarRecorder();

  std::vector<int> positions;

 private:
  HWND bar_;
};

// Calls `action` once, from the thread's message loop (the run's too), as soon as `ready` holds.
class WhenReady {
 public:
  WhenReady(std::function<bool()> ready, std::function<void()> action);
  WhenReady(const WhenReady&) = delete;
  WhenReady& operator=(const WhenReady&) = delete;
  ~WhenReady();

  [[nodiscard]] bool done() const noexcept { return done_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
  std::function<bool()> ready_;
  std::function<void()> action_;
  UINT_PTR timer_;
  bool done_ = false;
};

// Holds the keys down as far as GetKeyState tells the code under test.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys);
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;
  ~HeldKeys();

 private:
  BYTE before_[256]{};
};

// Presses and releases `key` at the focused control, through the program's message loop.
void Press(MainWindow& window, WPARAM key);

// Whether the window is idle: Revert enabled, no wait pointer, bar at 0.
::testing::AssertionResult IsIdle(const ShownWindow& shown);

// A drop of `files` as Explorer makes it, for WM_DROPFILES.
HGLOBAL MakeDrop(const std::vector<std::wstring>& files);

// The bytes of the file at `path`, read as a program that lets others even delete it meanwhile.
std::string ReadShared(const std::string& path);

// The Unicode text on the clipboard.
std::wstring ClipboardText();

}  // namespace quillon::testing
