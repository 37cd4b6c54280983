#pragma once

#include <QObject>
#include <chrono>
#include <vector>

class QWidget;

namespace quillon::bench {

using Clock = std::chrono::steady_clock;

// Notes when the window or any widget in it is painted, from construction until destruction.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(const QWidget& window);
  ~PaintRecorder() override;
  PaintRecorder(const PaintRecorder&) = delete;
  PaintRecorder& operator=(const PaintRecorder&) = delete;

  // The longest stretch from `from` to `to` with no paint in it: `from` and `to` count as
  // paints, so a window that never paints in between gives the whole span.
  [[nodiscard]] Clock::duration LongestGap(Clock::time_point from, Clock::time_point to) const;
  [[nodiscard]] std::size_t PaintCount() const noexcept { return paints_.size(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const QWidget& window_;
  std::vector<Clock::time_point> paints_;
};

}  // namespace quillon::bench
