#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

#include "resultview/result_document.h"
#include "win32window/background_run.h"
#include "win32window/window_controls.h"
#include "window/window_surface.h"

namespace quillon {

// The window surface over real controls. A run goes on a worker thread; what it reports
// reaches the controls from a timer on the window's thread.
class Win32WindowSurface : public WindowSurface {
 public:
  // The timer that shows the run's state, as the window's WM_TIMER sees it.
  static constexpr UINT_PTR kPulseTimer = 1;

  Win32WindowSurface(HWND window, WindowControls& controls, ResultDocument& result);
  Win32WindowSurface(const Win32WindowSurface&) = delete;
  Win32WindowSurface& operator=(const Win32WindowSurface&) = delete;
  ~Win32WindowSurface() override;

  void ClearResult() override;
  // Safe from the run's thread, before the output opens: UTF-8 text shows as text.
  void EncodingChosen(TextEncoding encoding) override;
  // Safe from the run's thread: the result box shows the new bytes at the next tick.
  void OutputOpened(FileHandle output) override { result_.OutputOpened(std::move(output)); }
  void OutputWritten(std::span<const char> bytes) override { result_.OutputWritten(bytes); }
  void OutputComing(std::span<const char> bytes) override { result_.OutputComing(bytes); }
  void ResultStartsOver() override { result_.StartOver(); }
  // Safe from any thread: the bar shows the latest value at the next tick of the timer, or at
  // once when called on the window's thread.
  void SetProgressValue(float percent) override;
  void SetRevertEnabled(bool enabled) override;
  [[nodiscard]] RevertMode SelectedMode() const override;
  void SetBusy(bool busy) override;
  void ShowMessage(std::string_view text) override;
  void SetFileLabel(std::string_view text) override;
  void RunToCompletion(const std::function<void(std::stop_token)>& work) override;

  [[nodiscard]] bool Running() const noexcept { return run_.Active(); }
  [[nodiscard]] bool Busy() const noexcept { return busy_; }
  // The run in progress ends at its next check, with RunCancelled.
  void StopRun() noexcept { run_.RequestStop(); }
  // The timer's tick: the bar and the result box catch up with the run.
  void ShowRunState();

 private:
  void ShowProgress();

  HWND window_;
  WindowControls& controls_;
  ResultDocument& result_;
  const DWORD windowThread_;
  std::atomic<int> progress_{0};
  BackgroundRun run_;
  bool busy_ = false;
  bool revertHadFocus_ = false;
};

}  // namespace quillon
