#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

namespace quillon {

// The first dropped file that is not a folder, as a UTF-8 path; nothing when there is none.
// Releases the drop.
std::optional<std::string> TakeDroppedFile(HDROP drop);

}  // namespace quillon
