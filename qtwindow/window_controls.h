#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "qtwindow/result_view/result_view.h"

namespace quillon {

// The window's controls, made from the layout table in its order, placed, captioned and
// chained in its tab order. The window owns them as their parent.
struct WindowControls {
  WindowControls(QWidget& window, ResultDocument& result);

  QProgressBar* progressBar;   // ProgressBar1
  std::array<QRadioButton*, 3> options;  // optRvtType(0) to (2)
  ResultView* resultBox;       // txtResult
  QPushButton* revertButton;   // btnRevert
  QPushButton* getFileButton;  // btnGetFile
  QLabel* fileLabel;           // lblFileName
};

// The logical pixel rectangle of a control of the layout table.
QRect PixelRect(std::string_view controlName);

}  // namespace quillon
