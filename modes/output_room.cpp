#include "modes/output_room.h"

#include <sys/mman.h>

#include <new>

namespace quillon {

OutputRoom::OutputRoom(std::size_t capacity) {
  if (capacity == 0) return;
  void* room = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (room == MAP_FAILED) throw std::bad_alloc();
  // Large pages make filling a big result far cheaper; where they are off, this is a no-op.
  ::madvise(room, capacity, MADV_HUGEPAGE);
  data_ = static_cast<char*>(room);
  capacity_ = capacity;
}

OutputRoom::~OutputRoom() {
  if (data_ != nullptr) ::munmap(data_, capacity_);
}

}  // namespace quillon
