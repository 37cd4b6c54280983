#pragma once

#include <cstdio>
#include <random>
#include <string>

#include "fileio/file_error.h"

namespace quillon {

// Whether a system error code says that a file of that name exists already.
bool NameTaken(int errorNumber) noexcept;

// Tries random names in `folder` until `claim` takes one (returns 0) or fails otherwise than
// because the name is taken (returns that error code).
template <class Claim>
std::string ClaimTemporaryName(const std::string& folder, const std::string& shownPath, Claim claim) {
  std::mt19937_64 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "/.quillon-%012llx.tmp", static_cast<unsigned long long>(random() & 0xffffffffffffULL));
    std::string candidate = folder + name;
    const int error = claim(candidate);
    if (error == 0) return candidate;
    if (!NameTaken(error)) throw FileError("Cannot write", shownPath, SystemReason(error));
  }
  throw FileError("Cannot write", shownPath, "no free temporary file name in its folder");
}

}  // namespace quillon
