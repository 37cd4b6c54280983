#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "modes/run_mode.h"
#include "tests/support/reference_line_reader.h"

namespace quillon::testing {

// Small, obviously correct models of the three modes, a byte at a time.

inline std::string ReferenceSimpleRevert(std::string_view in) { return {in.rbegin(), in.rend()}; }

// The lines from last to first, as the backward line reader gives them.
inline std::string ReferenceLineKeep(std::string_view in) {
  std::string out;
  std::int64_t cursor = static_cast<std::int64_t>(in.size()) - 1;
  while (cursor > -1) out += ReferenceReadLineBackward(in, cursor);
  return out;
}

// Lines end at LF, CR LF or a lone CR; each line's content is reversed, its break kept.
inline std::string ReferenceRevertLine(std::string_view in) {
  std::string out;
  std::string line;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    out.append(line.rbegin(), line.rend());
    line.clear();
    out += c;
    if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') out += in[++i];
  }
  out.append(line.rbegin(), line.rend());
  return out;
}

inline std::string Reference(RevertMode mode, std::string_view in) {
  switch (mode) {
    case RevertMode::SimpleRevert:
      return ReferenceSimpleRevert(in);
    case RevertMode::LineKeep:
      return ReferenceLineKeep(in);
    case RevertMode::RevertLine:
      return ReferenceRevertLine(in);
  }
  return {};
}

}  // namespace quillon::testing
