#pragma once

#include <string>

namespace quillon {

// What `quillon --help` prints; help2man turns it into the manual page, so it keeps that layout.
std::string HelpText();

// What `quillon --version` prints.
std::string VersionText();

// The two lines of a usage error, each ended by a line break.
std::string UsageErrorText(const std::string& problem);

}  // namespace quillon
