#pragma once

#include <functional>
#include <stop_token>
#include <string_view>

#include "modes/run_mode.h"
#include "modes/run_observer.h"

namespace quillon {

// What the commands need of the window: the result box, the progress bar, the Revert button,
// the mode buttons, the busy pointer, the message box and the file label. As the run's
// observer it shows the progress and the output as they come. The real window implements it
// with widgets; tests record the calls.
class WindowSurface : public RunObserver {
 public:
  // The run clears the result box; the output it receives as the run's observer fills it.
  virtual void ClearResult() = 0;

  virtual void SetRevertEnabled(bool enabled) = 0;

  // The mode of the checked mode button: Simple Revert if its button is checked, else Line keep
  // if its button is, else Revert Line, which also runs when no button is checked.
  [[nodiscard]] virtual RevertMode SelectedMode() const = 0;

  // The busy pointer over the whole application, while a run goes on.
  virtual void SetBusy(bool busy) = 0;

  // A modal message with an OK button, captioned with the application's name.
  virtual void ShowMessage(std::string_view text) = 0;

  // The chosen input, shown beside "...".
  virtual void SetFileLabel(std::string_view text) = 0;

  // Runs `work` to its end before returning. The window keeps painting meanwhile but takes
  // no input. The stop token is triggered when the window is closed; an exception thrown by
  // `work` comes out of this call.
  virtual void RunToCompletion(const std::function<void(std::stop_token)>& work) = 0;
};

}  // namespace quillon
