#include "qtwindow/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <exception>

#include "qtwindow/dropped_file.h"
#include "qtwindow/widget_text.h"
#include "window/layout.h"

namespace quillon {

MainWindow::MainWindow() : MainWindow(nullptr, EngineTuning{}) {}

MainWindow::MainWindow(FileChooser& chooser, EngineTuning tuning) : MainWindow(&chooser, tuning) {}

MainWindow::MainWindow(FileChooser* chooser, EngineTuning tuning)
    : controls_(*this, result_),
      surface_(*this, controls_, result_),
      dialogChooser_(*this),
      controller_(surface_, chooser != nullptr ? *chooser : dialogChooser_, tuning) {
  setWindowTitle(WidgetText(kWindowCaption));
  setFixedSize(kClientWidth, kClientHeight);
  setAcceptDrops(true);
  connect(controls_.revertButton, &QPushButton::clicked, this, &MainWindow::OnRevertClicked);
  connect(controls_.chooseFileButton, &QPushButton::clicked, this, &MainWindow::OnChooseFileClicked);
}

void MainWindow::Command(void (RevertController::*command)()) {
  try {
    (controller_.*command)();
  } catch (const std::exception& error) {
    surface_.ShowMessage(error.what());
  }
}

void MainWindow::OnRevertClicked() {
  Command(&RevertController::Revert);
  if (closeAfterRun_) close();
}

void MainWindow::OnChooseFileClicked() { Command(&RevertController::ChooseFile); }

void MainWindow::closeEvent(QCloseEvent* event) {
  if (surface_.Running()) {
    surface_.StopRun();
    closeAfterRun_ = true;
    event->ignore();
    return;
  }
  event->accept();
}

namespace {

// The input file must stay where it is, so a drop is taken as a copy, or as a link when the
// source offers no copy; a source that deletes what it moved would delete the input.
bool AcceptWithoutMove(QDropEvent& event) {
  const Qt::DropActions offered = event.possibleActions();
  if (offered.testFlag(Qt::CopyAction)) {
    event.setDropAction(Qt::CopyAction);
  } else if (offered.testFlag(Qt::LinkAction)) {
    event.setDropAction(Qt::LinkAction);
  } else {
    event.ignore();
    return false;
  }
  event.accept();
  return true;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!surface_.Running() && event->mimeData() != nullptr && DroppedFile(*event->mimeData())) AcceptWithoutMove(*event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (!surface_.Running() && event->mimeData() != nullptr && DroppedFile(*event->mimeData())) AcceptWithoutMove(*event);
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (surface_.Running() || event->mimeData() == nullptr) return;
  const std::optional<std::string> file = DroppedFile(*event->mimeData());
  if (!file || !AcceptWithoutMove(*event)) return;
  try {
    controller_.ChooseInput(*file);
  } catch (const std::exception& error) {
    surface_.ShowMessage(error.what());
  }
}

}  // namespace quillon
