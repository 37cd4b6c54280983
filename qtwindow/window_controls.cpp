#include "qtwindow/window_controls.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "window/layout.h"

namespace quillon {
namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QRect PixelRectOf(const TwipRect& twips) {
  return {TwipsToPixels(twips.Left), TwipsToPixels(twips.Top), TwipsToPixels(twips.Width), TwipsToPixels(twips.Height)};
}

QPushButton* MakeCommandButton(QWidget& window, const ControlLayout& layout) {
  auto* button = new QPushButton(FromUtf8(layout.Text), &window);
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
  auto* label = new QLabel(FromUtf8(layout.Text), &window);
  label->setTextFormat(Qt::PlainText);  // a path is never markup
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

// Makes the control of `layout`; nothing for the chooser, which is not a widget of the window.
QWidget* MakeControl(QWidget& window, const ControlLayout& layout, ResultDocument& result) {
  switch (layout.Kind) {
    case ControlKind::ProgressBar:
      return MakeProgressBar(window);
    case ControlKind::OptionButton:
      return new QRadioButton(FromUtf8(layout.Text), &window);
    case ControlKind::TextBox:
      return new ResultView(result, &window);
    case ControlKind::CommandButton:
      return MakeCommandButton(window, layout);
    case ControlKind::Label:
      return MakeLabel(window, layout);
    case ControlKind::FileChooser:
      return nullptr;
  }
  throw std::logic_error("unknown control kind");
}

template <typename Widget>
Widget* Named(const QWidget& window, const std::string& name) {
  auto* widget = window.findChild<Widget*>(FromUtf8(name), Qt::FindDirectChildrenOnly);
  if (widget == nullptr) throw std::logic_error("the window has no control " + name);
  return widget;
}

void ChainInTabOrder(const QWidget& window) {
  std::vector<std::pair<int, QWidget*>> stops;
  for (const ControlLayout& layout : kControls) {
    if (layout.TabIndex == kNoTabStop) continue;
    auto* widget = Named<QWidget>(window, std::string(layout.Name));
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

std::string OptionName(int index) { return "optRvtType(" + std::to_string(index) + ")"; }

}  // namespace

QRect PixelRect(std::string_view controlName) { return PixelRectOf(ControlNamed(controlName).Twips); }

WindowControls::WindowControls(QWidget& window, ResultDocument& result) {
  for (const ControlLayout& layout : kControls) {
    QWidget* control = MakeControl(window, layout, result);
    if (control == nullptr) continue;
    control->setObjectName(FromUtf8(layout.Name));
    control->setGeometry(PixelRectOf(layout.Twips));
    if (!layout.ToolTip.empty()) control->setToolTip(FromUtf8(layout.ToolTip));
  }
  progressBar = Named<QProgressBar>(window, "ProgressBar1");
  for (int i = 0; i < static_cast<int>(options.size()); ++i)
    options[static_cast<std::size_t>(i)] = Named<QRadioButton>(window, OptionName(i));
  resultBox = Named<ResultView>(window, "txtResult");
  revertButton = Named<QPushButton>(window, "btnRevert");
  getFileButton = Named<QPushButton>(window, "btnGetFile");
  fileLabel = Named<QLabel>(window, "lblFileName");

  options[static_cast<std::size_t>(kInitialOption)]->setChecked(true);
  FitCaptions(options);
  EnterGroupAtSelected(options);
  ChainInTabOrder(window);
  getFileButton->setFocus();
}

}  // namespace quillon
