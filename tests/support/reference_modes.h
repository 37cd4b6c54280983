#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "modes/run_mode.h"
#include "tests/support/reference_line_reader.h"
#include "unicode/grapheme_breaks.h"
#include "unicode/utf8_decode.h"
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

// UTF-16 text: the code points after a byte-order mark, taken a code unit at a time. Nothing
// unless the rest is well-formed: an even number of bytes, every surrogate paired.
struct ReferenceUtf16 {
  bool littleEndian;
  std::u32string codePoints;
};

inline std::optional<ReferenceUtf16> ReferenceUtf16Text(std::string_view in) {
  if (in.size() < 2 || in.size() % 2 != 0) return std::nullopt;
  ReferenceUtf16 text{};
  if (in.starts_with("\xFF\xFE")) {
    text.littleEndian = true;
  } else if (!in.starts_with("\xFE\xFF")) {
    return std::nullopt;
  }
  const auto isHigh = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
  std::u32string& points = text.codePoints;
  for (std::size_t i = 2; i < in.size(); i += 2) {
    const char32_t first = static_cast<unsigned char>(in[i]);
    const char32_t second = static_cast<unsigned char>(in[i + 1]);
    const char32_t unit = text.littleEndian ? first | second << 8 : first << 8 | second;
    const bool afterHigh = !points.empty() && isHigh(points.back());
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (!afterHigh) return std::nullopt;
      points.back() = 0x10000 + ((points.back() - 0xD800) << 10) + (unit - 0xDC00);
    } else {
      if (afterHigh) return std::nullopt;
      points.push_back(unit);
    }
  }
  if (!points.empty() && isHigh(points.back())) return std::nullopt;
  return text;
}

inline std::string ReferenceUtf8Of(std::u32string_view points) {
  std::string out;
  for (const char32_t point : points) {
    if (point < 0x80) {
      out += static_cast<char>(point);
    } else if (point < 0x800) {
      out += static_cast<char>(0xC0 | point >> 6);
      out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
      out += static_cast<char>(0xE0 | point >> 12);
      out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | point >> 18);
      out += static_cast<char>(0x80 | (point >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (point & 0x3F));
    }
  }
  return out;
}

// UTF-16 bytes with their byte-order mark, in either byte order, from code units.
inline std::string ReferenceUtf16Bytes(std::u16string_view units, bool littleEndian) {
  std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (const char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += littleEndian ? low : high;
    out += littleEndian ? high : low;
  }
  return out;
}

inline std::string ReferenceUtf16Of(std::string_view utf8, bool littleEndian) {
  std::u16string units;
  for (std::size_t at = 0; at < utf8.size();) {
    const unicode::DecodedCodePoint decoded = unicode::DecodeUtf8(utf8, at);
    if (decoded.codePoint < 0x10000) {
      units += static_cast<char16_t>(decoded.codePoint);
    } else {
      units += static_cast<char16_t>(0xD800 + ((decoded.codePoint - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((decoded.codePoint - 0x10000) & 0x3FF));
    }
    at += decoded.length;
  }
  return ReferenceUtf16Bytes(units, littleEndian);
}

// What a run gives: a file that is UTF-16 after its byte-order mark, or UTF-8 as a whole, is
// read as clusters with its byte-order mark kept first (UTF-16 in its own byte order), any
// other file (or any file when bytes are forced) byte by byte.
inline std::string Reference(RevertMode mode, std::string_view in, bool forceBytes = false) {
  if (forceBytes) return ReferenceBytes(mode, in);
  if (const std::optional<ReferenceUtf16> utf16 = ReferenceUtf16Text(in))
    return ReferenceUtf16Of(ReferenceClusterModes(mode, ReferenceUtf8Of(utf16->codePoints)), utf16->littleEndian);
  if (!unicode::IsValidUtf8(in)) return ReferenceBytes(mode, in);
  const std::size_t mark = unicode::StartsWithByteOrderMark(in) ? unicode::kByteOrderMark.size() : 0;
  return std::string(in.substr(0, mark)) + ReferenceClusterModes(mode, in.substr(mark));
}

}  // namespace quillon::testing
