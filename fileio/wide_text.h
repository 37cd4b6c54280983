#pragma once

#if defined(_WIN32)

#include <string>
#include <string_view>

namespace quillon {

// Paths and texts are UTF-8 throughout the program; Windows takes and gives them as UTF-16.
// A malformed sequence becomes U+FFFD either way.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// `path` (UTF-8, with / or \ between its parts) as the system's file calls take it: an
// absolute path gets the \\?\ prefix, so that it may be longer than MAX_PATH.
std::wstring SystemPath(std::string_view path);

}  // namespace quillon

#endif
