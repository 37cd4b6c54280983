#include "bench/gui/window_probe.h"

#include <QPixmap>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "bench/gui/offscreen_application.h"
#include "bench/gui/paint_recorder.h"
#include "bench/gui/probe_report.h"
#include "cli/mode_names.h"
#include "qtwindow/main_window.h"

namespace quillon::bench {

namespace {

// Answers every Open dialog with the same file.
class FixedChooser : public FileChooser {
 public:
  explicit FixedChooser(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> ShowOpen(std::string_view, std::string_view) override { return path_; }

 private:
  std::string path_;
};

double Milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

// How long `action` takes, in milliseconds.
template <typename Action>
double TimeMs(Action&& action) {
  const Clock::time_point start = Clock::now();
  action();
  return Milliseconds(Clock::now() - start);
}

}  // namespace

int WindowProbe(std::string_view modeName, const std::string& inputPath) {
  const std::optional<RevertMode> named = ModeNamed(modeName);
  if (!named) throw std::runtime_error("no mode is called \"" + std::string(modeName) + "\"");
  const RevertMode mode = *named;
  const OffscreenApplication application;
  FixedChooser chooser(inputPath);
  MainWindow window(chooser);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) throw std::runtime_error("the window was never exposed");
  const WindowControls& controls = window.controls();
  QTest::mouseClick(controls.chooseFileButton, Qt::LeftButton);
  QTest::mouseClick(controls.ModeOption(mode), Qt::LeftButton);
  QTest::qWait(50);

  ProbeReport report;
  {
    const PaintRecorder recorder(window);
    const Clock::time_point click = Clock::now();
    // The click returns when the run is over; the wait covers a window that lets it return early.
    QTest::mouseClick(controls.revertButton, Qt::LeftButton);
    while (!controls.revertButton->isEnabled()) QTest::qWait(1);
    const Clock::time_point idle = Clock::now();
    report["click_to_idle_s"] = std::chrono::duration<double>(idle - click).count();
    report["longest_gap_ms"] = Milliseconds(recorder.LongestGap(click, idle));
    report["paints"] = static_cast<double>(recorder.PaintCount());
  }

  ResultView& view = *controls.resultBox;
  report["first_paint_ms"] = TimeMs([&] { (void)view.grab(); });
  report["ctrl_end_ms"] = TimeMs([&] {
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    (void)view.grab();
  });
  report["ctrl_end_reached"] = view.caretPosition() == view.endPosition() ? 1 : 0;
  report["lines"] = static_cast<double>(view.lineCount());
  WriteProbeReport(stdout, report);
  return 0;
}

}  // namespace quillon::bench
