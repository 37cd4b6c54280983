#pragma once

#include <string>
#include <vector>

namespace quillon {

// The arguments after the program's name, as UTF-8, from the command line Windows gave the
// process (not the ANSI argv, which loses what the code page cannot hold).
std::vector<std::string> ProgramArguments();

}  // namespace quillon
