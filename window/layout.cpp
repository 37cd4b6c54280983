#include "window/layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace quillon {

const ControlLayout& ControlNamed(std::string_view name) {
  const auto found = std::find_if(kControls.begin(), kControls.end(), [&](const ControlLayout& c) { return c.Name == name; });
  if (found == kControls.end()) throw std::out_of_range("no control named " + std::string(name));
  return *found;
}

}  // namespace quillon
