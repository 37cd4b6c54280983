#include "qtwindow/window_controls.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "qtwindow/widget_text.h"
#include "window/layout.h"

namespace quillon {
namespace {

QRect ToQRect(const PixelRect& rect) { return {rect.Left, rect.Top, rect.Width, rect.Height}; }

QPushButton* MakeCommandButton(QWidget& window, const ControlLayout& layout) {
  auto* button = new QPushButton(WidgetText(layout.Text), &window);
  // Enter presses only the button that has focus: neither button is the window's default.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

QProgressBar* MakeProgressBar(QWidget& window) {
  auto* bar = new QProgressBar(&window);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  bar->setFocusPolicy(Qt::NoFocus);
  return bar;
}

QLabel* MakeLabel(QWidget& window, const ControlLayout& layout) {
  auto* label = new QLabel(WidgetText(layout.Text), &window);
  label->setTextFormat(Qt::PlainText);  // a path is never markup
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QWidget* MakeControl(QWidget& window, const ControlLayout& layout, ResultDocument& result) {
  switch (layout.Kind) {
    case ControlKind::ProgressBar:
      return MakeProgressBar(window);
    case ControlKind::ModeOption:
      return new QRadioButton(WidgetText(layout.Text), &window);
    case ControlKind::ResultBox:
      return new ResultView(result, &window);
    case ControlKind::CommandButton:
      return MakeCommandButton(window, layout);
    case ControlKind::Label:
      return MakeLabel(window, layout);
  }
  throw std::logic_error("unknown control kind");
}

template <typename Widget>
Widget* Named(const QWidget& window, std::string_view name) {
  auto* widget = window.findChild<Widget*>(WidgetText(name), Qt::FindDirectChildrenOnly);
  if (widget == nullptr) throw std::logic_error("the window has no control " + std::string(name));
  return widget;
}

void ChainInTabOrder(const QWidget& window) {
  std::vector<std::pair<int, QWidget*>> stops;
  for (const ControlLayout& layout : kControls) {
    auto* widget = Named<QWidget>(window, layout.Name);
    if (widget->focusPolicy() != Qt::NoFocus) stops.emplace_back(layout.TabIndex, widget);
  }
  std::sort(stops.begin(), stops.end());
  for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
}

// The layout was made for a smaller default font than most Linux desktops have. Rather than cut
// a mode's caption, the three mode buttons share the largest font size at which all fit.
void FitCaptions(const std::array<QRadioButton*, 3>& buttons) {
  const auto allFit = [&] {
    return std::all_of(buttons.begin(), buttons.end(), [](const QRadioButton* b) { return b->sizeHint().width() <= b->width(); });
  };
  QFont font = buttons.front()->font();
  const bool inPixels = font.pointSizeF() <= 0;
  constexpr double kSmallestPointSize = 6.0;
  constexpr int kSmallestPixelSize = 8;
  while (!allFit()) {
    if (inPixels) {
      if (font.pixelSize() <= kSmallestPixelSize) return;
      font.setPixelSize(font.pixelSize() - 1);
    } else {
      if (font.pointSizeF() <= kSmallestPointSize) return;
      font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    for (QRadioButton* button : buttons) button->setFont(font);
  }
}

// Tab enters the mode group at its selected button: only that one is a tab stop.
void EnterGroupAtSelected(const std::array<QRadioButton*, 3>& buttons) {
  for (QRadioButton* button : buttons) {
    const auto follow = [button](bool checked) { button->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus); };
    follow(button->isChecked());
    QObject::connect(button, &QRadioButton::toggled, button, follow);
  }
}

}  // namespace

WindowControls::WindowControls(QWidget& window, ResultDocument& result) {
  for (const ControlLayout& layout : kControls) {
    QWidget* control = MakeControl(window, layout, result);
    control->setObjectName(WidgetText(layout.Name));
    control->setGeometry(ToQRect(layout.Rect));
    if (!layout.ToolTip.empty()) control->setToolTip(WidgetText(layout.ToolTip));
  }
  progressBar = Named<QProgressBar>(window, "progressBar");
  simpleRevertOption = Named<QRadioButton>(window, "simpleRevertOption");
  lineKeepOption = Named<QRadioButton>(window, "lineKeepOption");
  revertLineOption = Named<QRadioButton>(window, "revertLineOption");
  resultBox = Named<ResultView>(window, "resultBox");
  revertButton = Named<QPushButton>(window, "revertButton");
  chooseFileButton = Named<QPushButton>(window, "chooseFileButton");
  fileLabel = Named<QLabel>(window, "fileLabel");

  ModeOption(kInitialMode)->setChecked(true);
  FitCaptions(ModeOptions());
  EnterGroupAtSelected(ModeOptions());
  ChainInTabOrder(window);
  chooseFileButton->setFocus();
}

QRadioButton* WindowControls::ModeOption(RevertMode mode) const {
  switch (mode) {
    case RevertMode::SimpleRevert:
      return simpleRevertOption;
    case RevertMode::LineKeep:
      return lineKeepOption;
    case RevertMode::RevertLine:
      return revertLineOption;
  }
  throw std::logic_error("a mode without a mode button");
}

}  // namespace quillon
