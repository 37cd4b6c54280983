#include "fuzz/unicode_kernels_check.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/rule_code_points.h"
#include "tests/support/reference_modes.h"
#include "tests/unicode/reference_clusters.h"
#include "tests/unicode/utf8_text.h"
#include "unicode/ascii_runs.h"
#include "unicode/cluster_reverse.h"
#include "unicode/utf16_text.h"
#include "unicode/utf8_decode.h"
#include "unicode/utf8_validator.h"

namespace quillon::fuzzing {

namespace {

using testing::AppendUtf8;

std::string TextFrom(std::string_view bytes, bool fromRuleCodePoints) {
  std::string text;
  if (fromRuleCodePoints) {
    for (const char byte : bytes) {
      const auto value = static_cast<unsigned char>(byte);
      AppendUtf8(text, value < 0x80 ? value : kRuleCodePoints[value % std::size(kRuleCodePoints)]);
    }
    return text;
  }
  for (std::size_t at = 0; at < bytes.size();) {
    const unicode::DecodedCodePoint decoded = unicode::DecodeUtf8(bytes, at);
    AppendUtf8(text, testing::ReferenceKnows(decoded.codePoint) ? decoded.codePoint : unicode::kReplacementCharacter);
    at += decoded.length;
  }
  return text;
}

// Malformed where the decoder has to give U+FFFD for a single byte; a real U+FFFD takes three.
bool DecoderFindsNoMalformedByte(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const unicode::DecodedCodePoint decoded = unicode::DecodeUtf8(bytes, at);
    if (decoded.length == 1 && decoded.codePoint == unicode::kReplacementCharacter) return false;
    at += decoded.length;
  }
  return true;
}

std::string CheckValidator(std::string_view bytes, std::size_t chunkSize) {
  unicode::Utf8Validator chunked;
  for (std::size_t at = 0; at < bytes.size(); at += chunkSize) chunked.Feed(bytes.substr(at, chunkSize));
  const bool whole = unicode::IsValidUtf8(bytes);
  if (chunked.EndsValid() != whole) return "the validator's verdict depends on the chunk size " + std::to_string(chunkSize);
  if (whole != DecoderFindsNoMalformedByte(bytes)) return "the validator and the decoder disagree";
  return "";
}

// Each chunk gets a buffer of exactly the room the converter asks for, so that a write past
// it is caught by the sanitizer.
template <typename Converter>
std::string ConvertInChunks(Converter& converter, std::string_view bytes, std::size_t chunkSize) {
  std::string out;
  for (std::size_t at = 0; at < bytes.size(); at += chunkSize) {
    const std::string_view chunk = bytes.substr(at, chunkSize);
    std::vector<char> room(Converter::MaxOutput(chunk.size()));
    out.append(room.data(), converter.Feed(chunk, room.data()));
  }
  return out;
}

// `units` (after the byte-order mark of `mark`) turned into UTF-8 as the reference reads them,
// with the same verdict on whether they are well-formed, and well-formed UTF-8 back into the
// same units.
std::string CheckUtf16Conversion(std::string_view mark, std::string_view units, std::size_t chunkSize) {
  const bool littleEndian = mark == "\xFF\xFE";
  const unicode::Utf16Order order = littleEndian ? unicode::Utf16Order::LittleEndian : unicode::Utf16Order::BigEndian;
  unicode::Utf16ToUtf8 narrow(order);
  const std::string utf8 = ConvertInChunks(narrow, units, chunkSize);
  const std::optional<testing::ReferenceUtf16> expected = testing::ReferenceUtf16Text(std::string(mark) + std::string(units));
  if (narrow.EndsValid() != expected.has_value()) return "Utf16ToUtf8 and the reference disagree on whether the units are well-formed";
  if (!expected) return "";
  if (utf8 != testing::ReferenceUtf8Of(expected->codePoints)) return "Utf16ToUtf8 differs from the reference";
  if (unicode::Utf8LengthOfUnits(units, order) != static_cast<std::int64_t>(utf8.size())) return "Utf8LengthOfUnits miscounts";
  unicode::Utf8ToUtf16 widen(order);
  if (ConvertInChunks(widen, utf8, chunkSize) != units) return "Utf8ToUtf16 does not give back the units";
  return "";
}

std::string CheckRun(std::string_view run) {
  const std::string expectedOrder = testing::ReferenceReverseClusterOrder(run);
  std::string reversed(run.size(), '\0');
  unicode::ReverseClusterOrder(run, reversed);
  if (reversed != expectedOrder) return "ReverseClusterOrder differs from the reference";
  std::string inPlace(run);
  unicode::ReverseClusterOrderInPlace(inPlace);
  if (inPlace != expectedOrder) return "ReverseClusterOrderInPlace differs from the reference";
  std::string mirrored(run);
  unicode::MirrorEachCluster(mirrored);
  if (mirrored != testing::ReferenceMirrorEachCluster(run)) return "MirrorEachCluster differs from the reference";
  return "";
}

}  // namespace

std::string CheckUnicodeKernels(std::span<const std::uint8_t> fuzzInput) {
  FuzzInput input(fuzzInput);
  const std::uint8_t choice = input.TakeByte();
  const std::string_view raw = input.Rest();
  if (std::string fault = CheckValidator(raw, (choice >> 1) + std::size_t{1}); !fault.empty()) return fault;

  const std::string text = TextFrom(raw, (choice & 1) != 0);
  const std::string_view mark = (choice & 1) != 0 ? "\xFF\xFE" : "\xFE\xFF";
  if (std::string fault = CheckUtf16Conversion(mark, raw, (choice >> 1) + std::size_t{1}); !fault.empty()) return fault + " (raw units)";
  const std::string utf16 = testing::ReferenceUtf16Of(text, (choice & 1) != 0);
  if (std::string fault = CheckUtf16Conversion(mark, std::string_view(utf16).substr(2), (choice >> 1) + std::size_t{1}); !fault.empty())
    return fault + " (units of the text)";
  if (testing::GraphemeBoundariesOf(text) != testing::ReferenceBoundaries(text))
    return "the cluster boundaries differ from the reference";

  std::size_t runStart = 0;
  for (std::size_t at = 0; at <= text.size(); ++at) {
    if (at < text.size() && text[at] != '\r' && text[at] != '\n') continue;
    if (std::string fault = CheckRun(std::string_view(text).substr(runStart, at - runStart)); !fault.empty())
      return fault + " on the run at byte " + std::to_string(runStart);
    runStart = at + 1;
  }
  // A block's walk remembers what runs it has met and finds emoji between ASCII many at a
  // time; only long runs take that path, so the text is also repeated into one.
  if (!unicode::IsAllAscii(text)) {
    std::string repeated;
    while (repeated.size() < 4096 + 256) repeated += text;
    for (char& byte : repeated)
      if (byte == '\r' || byte == '\n') byte = ' ';
    if (std::string fault = CheckRun(repeated); !fault.empty()) return fault + " on the text repeated into one long run";
  }
  return "";
}

}  // namespace quillon::fuzzing
