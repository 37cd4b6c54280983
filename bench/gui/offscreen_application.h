#pragma once

#include <QApplication>

namespace quillon::bench {

// A QApplication on the offscreen platform, whatever the environment says, so that a
// measurement never opens a real window nor depends on a display.
class OffscreenApplication {
 public:
  OffscreenApplication();
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;

 private:
  char name_[18] = "quillon-gui-bench";
  char* argv_[2] = {name_, nullptr};
  int argc_ = 1;
  QApplication application_;
};

}  // namespace quillon::bench
