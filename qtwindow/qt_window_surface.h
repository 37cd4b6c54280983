#pragma once

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <utility>

#include "qtwindow/background_run.h"
#include "qtwindow/window_controls.h"
#include "resultview/result_document.h"
#include "window/window_surface.h"

namespace quillon {

// The window surface over real widgets. A run goes on a worker thread; what it reports
// reaches the widgets from a timer on the GUI thread.
class QtWindowSurface : public WindowSurface {
 public:
  QtWindowSurface(QWidget& window, WindowControls& controls, ResultDocument& result);
  QtWindowSurface(const QtWindowSurface&) = delete;
  QtWindowSurface& operator=(const QtWindowSurface&) = delete;
  ~QtWindowSurface() override;

  void ClearResult() override;
  // Safe from the run's thread, before the output opens: UTF-8 text shows as text.
  void EncodingChosen(TextEncoding encoding) override;
  // Safe from the run's thread: the result box shows the new bytes at the next tick.
  void OutputOpened(FileHandle output) override { result_.OutputOpened(std::move(output)); }
  void OutputWritten(std::span<const char> bytes) override { result_.OutputWritten(bytes); }
  void OutputComing(std::span<const char> bytes) override { result_.OutputComing(bytes); }
  void ResultStartsOver() override { result_.StartOver(); }
  // Safe from any thread: the bar shows the latest value at the next tick of the GUI timer,
  // or at once when called on the GUI thread.
  void SetProgressValue(float percent) override;
  void SetRevertEnabled(bool enabled) override;
  [[nodiscard]] RevertMode SelectedMode() const override;
  void SetBusy(bool busy) override;
  void ShowMessage(std::string_view text) override;
  void SetFileLabel(std::string_view text) override;
  void RunToCompletion(const std::function<void(std::stop_token)>& work) override;

  [[nodiscard]] bool Running() const noexcept { return run_.Active(); }
  // The run in progress ends at its next check, with RunCancelled.
  void StopRun() noexcept { run_.RequestStop(); }

 private:
  void ShowRunState();

  QWidget& window_;
  WindowControls& controls_;
  ResultDocument& result_;
  std::atomic<int> progress_{0};
  QTimer pulse_;
  BackgroundRun run_;
  bool waitCursor_ = false;
  bool revertHadFocus_ = false;
};

}  // namespace quillon
