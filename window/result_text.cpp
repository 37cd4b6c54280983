#include "window/result_text.h"

#include <sys/mman.h>

#include <new>

namespace quillon {

ResultText::~ResultText() { Release(); }

void ResultText::Release() noexcept {
  if (data_ != nullptr) ::munmap(data_, capacity_);
  data_ = nullptr;
  capacity_ = 0;
}

void ResultText::Reset(std::size_t capacity) {
  std::unique_lock lock(mapping_);
  size_.store(0, std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_acq_rel);
  Release();
  if (capacity == 0) return;
  void* room = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (room == MAP_FAILED) throw std::bad_alloc();
  // Large pages make filling a big result far cheaper; where they are off, this is a no-op.
  ::madvise(room, capacity, MADV_HUGEPAGE);
  data_ = static_cast<char*>(room);
  capacity_ = capacity;
}

ResultText::View ResultText::Read() const {
  std::shared_lock lock(mapping_);
  const std::size_t published = size();
  return View(std::move(lock), {data_, published});
}

std::string ResultText::Text() const {
  const View view = Read();
  return {view.bytes().begin(), view.bytes().end()};
}

}  // namespace quillon
