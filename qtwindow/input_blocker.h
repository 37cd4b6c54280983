#pragma once

#include <QObject>
#include <QWidget>

namespace quillon {

// While it lives, the window and its controls take no user input: mouse, keyboard, wheel,
// touch and drag-and-drop events to them are dropped, not deferred. Painting, timers and
// the window system's close request still get through.
class InputBlocker : public QObject {
 public:
  explicit InputBlocker(QWidget& window);
  InputBlocker(const InputBlocker&) = delete;
  InputBlocker& operator=(const InputBlocker&) = delete;
  ~InputBlocker() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
};

}  // namespace quillon
