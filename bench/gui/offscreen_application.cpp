#include "bench/gui/offscreen_application.h"

#include <QtGlobal>

namespace quillon::bench {

namespace {

int& OffscreenArgumentCount(int& argc) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  return argc;
}

}  // namespace

OffscreenApplication::OffscreenApplication() : application_(OffscreenArgumentCount(argc_), argv_) {}

}  // namespace quillon::bench
