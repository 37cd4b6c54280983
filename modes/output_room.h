#pragma once

#include <cstddef>
#include <span>

namespace quillon {

// Memory a run builds its whole output in: reserved once, with only the pages written ever
// backed. Throws std::bad_alloc when the room cannot be reserved.
class OutputRoom {
 public:
  explicit OutputRoom(std::size_t capacity);
  OutputRoom(const OutputRoom&) = delete;
  OutputRoom& operator=(const OutputRoom&) = delete;
  ~OutputRoom();

  [[nodiscard]] std::span<char> Room() noexcept { return {data_, capacity_}; }

 private:
  char* data_ = nullptr;
  std::size_t capacity_ = 0;
};

}  // namespace quillon
