#pragma once

#include <functional>
#include <stop_token>
#include <string_view>

#include "modes/run_observer.h"

namespace quillon {

enum class MousePointer { Default = 0, Hourglass = 11 };

// What the commands need of the window: the result box, the progress bar, the Revert button,
// the mode buttons, the pointer, the message box and the file label. As the run's observer it
// shows the progress and the output as they come. The real window implements it with widgets;
// tests record the calls.
class WindowSurface : public RunObserver {
 public:
  // txtResult: the run clears it; the output it receives as the run's observer fills it.
  virtual void ClearResult() = 0;

  // btnRevert.Enabled
  virtual void SetRevertEnabled(bool enabled) = 0;

  // optRvtType(index).Value
  [[nodiscard]] virtual bool OptionValue(int index) const = 0;

  virtual void SetMousePointer(MousePointer pointer) = 0;

  // A modal message with an OK button, captioned with the application's name.
  virtual void ShowMessage(std::string_view text) = 0;

  // lblFileName's caption
  virtual void SetFileLabel(std::string_view text) = 0;

  // Runs `work` to its end before returning. The window keeps painting meanwhile but takes
  // no input. The stop token is triggered when the window is closed; an exception thrown by
  // `work` comes out of this call.
  virtual void RunToCompletion(const std::function<void(std::stop_token)>& work) = 0;
};

}  // namespace quillon
