#include "window/revert_controller.h"

#include <exception>
#include <optional>

#include "modes/failure_message.h"
#include "modes/output_path.h"
#include "modes/run_mode.h"
#include "window/busy_state.h"

namespace quillon {

RevertController::RevertController(WindowSurface& surface, FileChooser& chooser, EngineTuning tuning)
    : surface_(surface), chooser_(chooser), tuning_(tuning) {}

void RevertController::Revert() {
  if (inputPath_.empty()) {
    surface_.ShowMessage("no Infile");
    return;
  }
  if (outputPath_.empty()) {
    surface_.ShowMessage("no Outfile");
    return;
  }
  RunSelectedMode();
}

void RevertController::RunSelectedMode() {
  std::optional<std::string> failure;
  {
    BusyState busy(surface_);
    const RevertMode mode = surface_.SelectedMode();
    try {
      surface_.RunToCompletion([&](std::stop_token stop) {
        RunMode(mode, ModeContext{inputPath_, outputPath_, surface_, std::move(stop), tuning_});
      });
    } catch (const RunCancelled&) {
    } catch (const std::exception& error) {
      failure = FailureMessage(error, inputPath_);
    }
  }
  // Reported once the window is idle again, so the message never stands over a busy window.
  if (failure) surface_.ShowMessage(*failure);
}

void RevertController::ChooseFile() {
  std::optional<std::string> chosen = chooser_.ShowOpen(kChooserFilter, inputPath_);
  if (!chosen || chosen->empty()) return;
  ChooseInput(*chosen);
}

void RevertController::ChooseInput(const std::string& path) {
  inputPath_ = path;
  outputPath_ = OutputPathFor(inputPath_);
  surface_.SetFileLabel(inputPath_);
}

}  // namespace quillon
