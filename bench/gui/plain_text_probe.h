#pragma once

#include <string>

namespace quillon::bench {

// In a process of its own: the cost of showing `inputPath` in a stock QPlainTextEdit, the
// text read whole, one byte a character. Prints a ProbeReport on stdout: set_plain_text_s.
int PlainTextProbe(const std::string& inputPath);

}  // namespace quillon::bench
