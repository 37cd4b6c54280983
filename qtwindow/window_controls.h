#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "modes/run_mode.h"
#include "qtwindow/result_view/result_view.h"

namespace quillon {

// The window's controls, made from the layout table in its order, placed, captioned and
// chained in its tab order. The window owns them as their parent.
struct WindowControls {
  WindowControls(QWidget& window, ResultDocument& result);

  // The mode button that selects `mode`.
  [[nodiscard]] QRadioButton* ModeOption(RevertMode mode) const;
  // The three mode buttons, left to right.
  [[nodiscard]] std::array<QRadioButton*, 3> ModeOptions() const { return {simpleRevertOption, lineKeepOption, revertLineOption}; }

  QProgressBar* progressBar;
  QRadioButton* simpleRevertOption;
  QRadioButton* lineKeepOption;
  QRadioButton* revertLineOption;
  ResultView* resultBox;
  QPushButton* revertButton;
  QPushButton* chooseFileButton;
  QLabel* fileLabel;
};

}  // namespace quillon
