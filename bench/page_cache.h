#pragma once

#include <cstdint>
#include <string>

namespace quillon::bench {

// Reads the whole file once so that the runs after it find it in the page cache.
void WarmPageCache(const std::string& path);

// Writes the first `bytes` bytes of `from` to a new file `to`.
void CopyPrefix(const std::string& from, const std::string& to, std::uint64_t bytes);

}  // namespace quillon::bench
