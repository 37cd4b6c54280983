#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace quillon::unicode {

// Most European text is ASCII and two-byte letters of U+00C0 to U+027F (Latin-1 letters, Latin
// Extended, IPA); most Chinese and Japanese text is ASCII and three-byte ideographs of U+4000
// to U+9FFF. Every one of those code points has the break value Other, and no rule joins
// Other or ASCII to either, so in a stretch of ASCII and one kind of them that ends before
// another such code point every code point is a cluster of its own. These find such stretches
// and mirror their letters 16 or 32 bytes a step, where the cluster walk would take one a step.
enum class LetterKind { Latin, Ideograph };

// The first bytes of such letters.
inline constexpr unsigned char kFirstLatinLead = 0xC3;
inline constexpr unsigned char kLastLatinLead = 0xC9;
inline constexpr unsigned char kFirstIdeographLead = 0xE4;
inline constexpr unsigned char kLastIdeographLead = 0xE9;

// The kind of letter whose first byte `lead` is, if any.
inline std::optional<LetterKind> LetterKindOf(unsigned char lead) noexcept {
  if (lead >= kFirstLatinLead && lead <= kLastLatinLead) return LetterKind::Latin;
  if (lead >= kFirstIdeographLead && lead <= kLastIdeographLead) return LetterKind::Ideograph;
  return std::nullopt;
}

// The end of the stretch of ASCII and letters of `kind` that starts at `from`, a code point's
// start in well-formed UTF-8, looked at 16 bytes a step: a code point's start, where the code
// point after it, if any, is ASCII or such a letter too; `from` when there is none.
std::size_t LetterStretchEnd(LetterKind kind, std::span<const char> text, std::size_t from) noexcept;

// Reverses the bytes of every letter in a stretch LetterStretchEnd found.
void MirrorLetters(LetterKind kind, std::span<char> stretch) noexcept;

namespace detail {

// The same 16 bytes a step on any processor, where the two above take 32 on one with AVX2:
// for the tests to hold the two widths against each other.
std::size_t LetterStretchEnd16(LetterKind kind, std::span<const char> text, std::size_t from) noexcept;
void MirrorLetters16(LetterKind kind, std::span<char> stretch) noexcept;

}  // namespace detail

}  // namespace quillon::unicode
