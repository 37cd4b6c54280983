#include "window/failure_message.h"

#include <new>

namespace quillon {

std::string FailureMessage(const std::exception& error, std::string_view inputPath) {
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
    return "Not enough memory to revert \"" + std::string(inputPath) + "\".";
  return error.what();
}

}  // namespace quillon
