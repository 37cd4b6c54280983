#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "qtwindow/main_window.h"
#include "tests/support/recording_surface.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace quillon::testing {

QString FromUtf8(std::string_view text);

// The characters the result view shows, lines separated by '\n', with no character replaced.
QString ShownText(ResultView& view);

// The real window with a scripted chooser, shown on the offscreen platform.
struct ShownWindow {
  ShownWindow();
  ShownWindow(const ShownWindow&) = delete;
  ShownWindow& operator=(const ShownWindow&) = delete;

  // Clicks "..." with `reply` as the chooser's answer; nothing stands for a cancel.
  void Choose(std::optional<std::string> reply);
  void ClickRevert();
  void SelectMode(RevertMode mode);

  [[nodiscard]] const WindowControls& controls() const { return window.controls(); }
  [[nodiscard]] QString ResultShown() const { return ShownText(*controls().resultBox); }

  ScriptedChooser chooser;
  MainWindow window{chooser};
};

// What a message box showed.
struct Message {
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
};

// Closes every modal message box the code under test opens while this lives, with OK, and
// keeps what each showed.
class MessageCatcher {
 public:
  MessageCatcher();
  MessageCatcher(const MessageCatcher&) = delete;
  MessageCatcher& operator=(const MessageCatcher&) = delete;

  std::vector<Message> messages;

 private:
  QTimer poll_;
};

// Calls `action` once, from the event loop, as soon as `ready` holds.
class WhenReady {
 public:
  WhenReady(std::function<bool()> ready, std::function<void()> action);
  WhenReady(const WhenReady&) = delete;
  WhenReady& operator=(const WhenReady&) = delete;

  [[nodiscard]] bool done() const noexcept { return done_; }

 private:
  QTimer poll_;
  bool done_ = false;
};

// Whether the window is idle: Revert enabled, default pointer, bar at 0.
::testing::AssertionResult IsIdle(const ShownWindow& shown);

}  // namespace quillon::testing
