#include "window/result_text.h"

namespace quillon {

void ResultText::Reset() {
  std::unique_lock lock(mutex_);
  bytes_ = {};
  size_.store(0, std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_acq_rel);
}

void ResultText::Append(std::span<const char> bytes) {
  std::unique_lock lock(mutex_);
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  size_.store(bytes_.size(), std::memory_order_release);
}

ResultText::View ResultText::Read() const {
  std::shared_lock lock(mutex_);
  return View(std::move(lock), {bytes_.data(), bytes_.size()});
}

std::string ResultText::Text() const {
  const View view = Read();
  return {view.bytes().begin(), view.bytes().end()};
}

}  // namespace quillon
