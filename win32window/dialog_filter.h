#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The Open dialog's filter ("Name|patterns|Name|patterns", patterns split by ';') as the
// common dialog takes it: each name and its patterns ended by a NUL, the list by a second one.
std::wstring DialogFilter(std::string_view filter);

}  // namespace quillon
