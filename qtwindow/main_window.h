#pragma once

#include <QWidget>

#include "modes/mode_context.h"
#include "qtwindow/qt_file_chooser.h"
#include "qtwindow/qt_window_surface.h"
#include "qtwindow/window_controls.h"
#include "resultview/result_document.h"
#include "window/revert_controller.h"

namespace quillon {

// The window around a RevertController: fixed size, the controls of the layout table, "..."
// and "Revert" wired to the commands, and a dropped file taken as if chosen with "...".
class MainWindow : public QWidget {
 public:
  // Chooses files through the toolkit's Open dialog.
  MainWindow();
  // Chooses files through `chooser`, which must outlive the window.
  explicit MainWindow(FileChooser& chooser, EngineTuning tuning = {});

  // Takes `path` (bytes as the system gives them) as if it had been chosen with "...".
  void ChooseInput(const std::string& path) { controller_.ChooseInput(path); }

  [[nodiscard]] const RevertController& controller() const noexcept { return controller_; }
  [[nodiscard]] const WindowControls& controls() const noexcept { return controls_; }

 protected:
  // Closing during a run stops the run; the window closes as soon as the run has ended.
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  MainWindow(FileChooser* chooser, EngineTuning tuning);

  void OnRevertClicked();
  void OnChooseFileClicked();
  // Runs a command; an error that escapes it is shown, never lost in the event loop.
  void Command(void (RevertController::*command)());

  ResultDocument result_;
  WindowControls controls_;
  QtWindowSurface surface_;
  QtFileChooser dialogChooser_;
  RevertController controller_;
  bool closeAfterRun_ = false;
};

}  // namespace quillon
