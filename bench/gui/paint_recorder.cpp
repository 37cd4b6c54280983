#include "bench/gui/paint_recorder.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

namespace quillon::bench {

PaintRecorder::PaintRecorder(const QWidget& window) : window_(window) {
  paints_.reserve(1 << 16);
  QApplication::instance()->installEventFilter(this);
}

PaintRecorder::~PaintRecorder() { QApplication::instance()->removeEventFilter(this); }

bool PaintRecorder::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched->isWidgetType()) {
    const auto* widget = static_cast<const QWidget*>(watched);
    if (widget->window() == &window_) paints_.push_back(Clock::now());
  }
  return false;
}

Clock::duration PaintRecorder::LongestGap(Clock::time_point from, Clock::time_point to) const {
  Clock::duration longest{};
  Clock::time_point previous = from;
  for (const Clock::time_point paint : paints_) {
    if (paint < from || paint > to) continue;
    longest = std::max(longest, paint - previous);
    previous = paint;
  }
  return std::max(longest, to - previous);
}

}  // namespace quillon::bench
