#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "modes/run_mode.h"
#include "tests/support/reference_line_reader.h"
#include "unicode/grapheme_breaks.h"
#include "unicode/utf8_validator.h"

namespace quillon::testing {

// Small, obviously correct models of the three modes: a byte at a time, and for UTF-8 text
// a grapheme cluster at a time.

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

inline std::string ReferenceBytes(RevertMode mode, std::string_view in) {
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

// The grapheme clusters of `text` in order, as the library's plain cursor finds them; CR and
// LF are units of their own.
inline std::vector<std::string_view> ReferenceClusters(std::string_view text) {
  std::vector<std::string_view> clusters;
  unicode::GraphemeCursor cursor(text, 0);
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = cursor.Next();
    clusters.push_back(text.substr(at, end - at));
    at = end;
  }
  return clusters;
}

// UTF-8 text without its byte-order mark.
inline std::string ReferenceClusterModes(RevertMode mode, std::string_view text) {
  const std::vector<std::string_view> clusters = ReferenceClusters(text);
  std::string out;
  switch (mode) {
    case RevertMode::SimpleRevert:
      for (auto cluster = clusters.rbegin(); cluster != clusters.rend(); ++cluster) out += *cluster;
      return out;
    case RevertMode::LineKeep:
      return ReferenceLineKeep(text);  // lines are never split inside
    case RevertMode::RevertLine: {
      std::vector<std::string_view> line;
      const auto flush = [&] {
        for (auto cluster = line.rbegin(); cluster != line.rend(); ++cluster) out += *cluster;
        line.clear();
      };
      for (const std::string_view cluster : clusters) {
        if (cluster == "\r" || cluster == "\n") {
          flush();
          out += cluster;
        } else {
          line.push_back(cluster);
        }
      }
      flush();
      return out;
    }
  }
  return {};
}

// What a run gives: a file that is UTF-8 as a whole is read as clusters with its byte-order
// mark kept first, any other file (or any file when bytes are forced) byte by byte.
inline std::string Reference(RevertMode mode, std::string_view in, bool forceBytes = false) {
  if (forceBytes || !unicode::IsValidUtf8(in)) return ReferenceBytes(mode, in);
  const std::size_t mark = unicode::StartsWithByteOrderMark(in) ? unicode::kByteOrderMark.size() : 0;
  return std::string(in.substr(0, mark)) + ReferenceClusterModes(mode, in.substr(mark));
}

}  // namespace quillon::testing
