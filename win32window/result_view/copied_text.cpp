#include "win32window/result_view/copied_text.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "fileio/wide_text.h"
#include "resultview/result_shown_text.h"

namespace quillon {
namespace {

// Copies read this much of the file at a time.
constexpr std::size_t kCopyChunk = std::size_t{1} << 20;

// Where the UTF-8 sequence that `bytes` ends inside of starts, so that it is decoded whole
// with the next chunk; bytes.size() when none is cut.
std::size_t OpenSequenceStart(std::string_view bytes) noexcept {
  const std::size_t lookBack = std::min<std::size_t>(bytes.size(), 3);
  for (std::size_t back = 1; back <= lookBack; ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? bytes.size() - back : bytes.size();
  }
  return bytes.size();
}

std::wstring Utf8TextOf(const ResultLines& lines, std::uint64_t begin, std::uint64_t end) {
  std::wstring text;
  text.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(end - begin, kCopyChunk)));
  std::vector<char> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(end - begin, kCopyChunk)));
  std::string withLf;
  bool afterCr = false;
  for (std::uint64_t at = begin; at < end;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
    const std::size_t got = lines.Read(at, std::span<char>(chunk).first(wanted));
    // Each line break as one LF, as for a text of bytes: what a copy gives does not depend on
    // whether the result was read as text. A sequence cut at the chunk's end waits for the rest.
    for (const char byte : std::span<const char>(chunk.data(), got)) {
      if (!(afterCr && byte == '\n')) withLf.push_back(byte == '\r' ? '\n' : byte);
      afterCr = byte == '\r';
    }
    const bool last = got < wanted || at + got >= end;
    const std::size_t whole = last ? withLf.size() : OpenSequenceStart(withLf);
    text += Widen(std::string_view(withLf).substr(0, whole));
    withLf.erase(0, whole);
    if (got < wanted) break;
    at += got;
  }
  return text;
}

std::wstring BytesTextOf(const ResultLines& lines, std::uint64_t begin, std::uint64_t end) {
  const auto size = static_cast<std::size_t>(end - begin);
  std::wstring text;
  text.reserve(size);
  std::vector<char> chunk(std::min(size, kCopyChunk));
  // Every byte makes at most one character.
  std::vector<char16_t> shown(chunk.size());
  bool afterCr = false;
  for (std::uint64_t at = begin; at < end;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), end - at));
    const std::size_t got = lines.Read(at, std::span<char>(chunk).first(wanted));
    std::span<const char> bytes(chunk.data(), got);
    // The LF of a CR LF split between chunks belongs to the break the CR gave.
    if (afterCr && !bytes.empty() && bytes.front() == '\n') bytes = bytes.subspan(1);
    const std::size_t count = ShownText(bytes, shown);
    for (std::size_t i = 0; i < count; ++i) text.push_back(static_cast<wchar_t>(shown[i]));
    afterCr = got > 0 && chunk[got - 1] == '\r';
    if (got < wanted) break;
    at += got;
  }
  return text;
}

}  // namespace

std::wstring CopiedText(const ResultLines& lines, std::uint64_t begin, std::uint64_t end) {
  if (end <= begin) return {};
  return lines.Utf8() ? Utf8TextOf(lines, begin, end) : BytesTextOf(lines, begin, end);
}

}  // namespace quillon
