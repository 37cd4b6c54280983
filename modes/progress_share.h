#pragma once

#include <span>
#include <utility>

#include "modes/run_observer.h"

namespace quillon {

// Passes everything on to another observer, with progress squeezed into a share of the bar:
// 0 to 100 become `from` to `from + width`. For a run done in passes one after another.
class ProgressShare : public RunObserver {
 public:
  ProgressShare(RunObserver& target, float from, float width) noexcept : target_(target), from_(from), width_(width) {}

  void SetProgressValue(float percent) override { target_.SetProgressValue(from_ + percent * width_ / 100.0F); }
  void EncodingChosen(TextEncoding encoding) override { target_.EncodingChosen(encoding); }
  void OutputOpened(FileHandle output) override { target_.OutputOpened(std::move(output)); }
  void OutputWritten(std::span<const char> bytes) override { target_.OutputWritten(bytes); }
  void OutputComing(std::span<const char> bytes) override { target_.OutputComing(bytes); }
  void ResultStartsOver() override { target_.ResultStartsOver(); }

 private:
  RunObserver& target_;
  float from_;
  float width_;
};

}  // namespace quillon
