#include "resultview/copied_text.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <span>
#include <vector>

#include "resultview/result_shown_text.h"
#include "unicode/utf16_text.h"

namespace quillon {
namespace {

// Copies read this much of the file at a time.
constexpr std::size_t kCopyChunk = std::size_t{1} << 20;

constexpr unicode::Utf16Order kNativeOrder =
    std::endian::native == std::endian::little ? unicode::Utf16Order::LittleEndian : unicode::Utf16Order::BigEndian;

std::u16string Utf8TextOf(const ResultLines& lines, std::uint64_t begin, std::uint64_t end) {
  std::u16string text;
  std::vector<char> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(end - begin, kCopyChunk)));
  std::string withLf;
  std::vector<char> units(unicode::Utf8ToUtf16::MaxOutput(chunk.size()));
  // Decodes across chunks, so that a character split between two comes out whole.
  unicode::Utf8ToUtf16 decoder(kNativeOrder);
  bool afterCr = false;
  for (std::uint64_t at = begin; at < end;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
    const std::size_t got = lines.Read(at, std::span<char>(chunk).first(wanted));
    // Each line break as one LF, as for a text of bytes: what a copy gives does not depend on
    // whether the result was read as text.
    withLf.clear();
    for (const char byte : std::span<const char>(chunk.data(), got)) {
      if (!(afterCr && byte == '\n')) withLf.push_back(byte == '\r' ? '\n' : byte);
      afterCr = byte == '\r';
    }
    const std::size_t bytes = decoder.Feed(withLf, units.data());
    const std::size_t done = text.size();
    text.resize(done + bytes / 2);
    std::memcpy(text.data() + done, units.data(), bytes);
    if (got < wanted) break;
    at += got;
  }
  return text;
}

std::u16string BytesTextOf(const ResultLines& lines, std::uint64_t begin, std::uint64_t end) {
  // Every byte makes at most one character.
  std::u16string text(static_cast<std::size_t>(end - begin), u'\0');
  std::vector<char> chunk(std::min(text.size(), kCopyChunk));
  std::size_t shown = 0;
  bool afterCr = false;
  for (std::uint64_t at = begin; at < end;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
    const std::size_t got = lines.Read(at, std::span<char>(chunk).first(wanted));
    std::span<const char> bytes(chunk.data(), got);
    // The LF of a CR LF split between chunks belongs to the break the CR gave.
    if (afterCr && !bytes.empty() && bytes.front() == '\n') bytes = bytes.subspan(1);
    shown += ShownText(bytes, std::span<char16_t>(text).subspan(shown));
    afterCr = got > 0 && chunk[got - 1] == '\r';
    if (got < wanted) break;
    at += got;
  }
  text.resize(shown);
  return text;
}

}  // namespace

std::u16string CopiedText(const ResultLines& lines, std::uint64_t begin, std::uint64_t end) {
  if (end <= begin) return {};
  return lines.Utf8() ? Utf8TextOf(lines, begin, end) : BytesTextOf(lines, begin, end);
}

}  // namespace quillon
