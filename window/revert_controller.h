#pragma once

#include <string>

#include "modes/mode_context.h"
#include "window/file_chooser.h"
#include "window/window_surface.h"

namespace quillon {

// The main window's state and its two commands, over a window surface.
class RevertController {
 public:
  RevertController(WindowSurface& surface, FileChooser& chooser, EngineTuning tuning = {});

  [[nodiscard]] const std::string& InputPath() const noexcept { return inputPath_; }
  [[nodiscard]] const std::string& OutputPath() const noexcept { return outputPath_; }

  // "Revert": runs the selected mode on the chosen file.
  void Revert();

  // "...": lets the user choose the input file.
  void ChooseFile();

  // Takes `path` as the input, as a choice in the Open dialog does.
  void ChooseInput(const std::string& path);

 private:
  void RunSelectedMode();

  WindowSurface& surface_;
  FileChooser& chooser_;
  EngineTuning tuning_;
  std::string inputPath_;
  std::string outputPath_;
};

}  // namespace quillon
