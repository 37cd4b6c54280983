#pragma once

#include <cstdint>

namespace quillon::unicode::detail {

// Turns UTF-16 units at `at` into UTF-8 eight at a time, as long as eight whole units are left
// and none of them is a surrogate; returns where it stopped, `out` moved past what it wrote.
// Writes up to 4 bytes past the UTF-8 of the units it took, never more than 3 bytes a unit
// taken plus 4. Takes nothing where the processor lacks the instructions.
const char* NarrowUnitsVector(const char* at, const char* end, char*& out, bool little) noexcept;

// Turns UTF-8 at `at` into UTF-16 units, eight bytes or so at a time, as long as sixteen bytes
// are left and they hold sequences of one to three bytes, well-formed; returns where it
// stopped, at the start of a sequence, `out` moved past what it wrote. Stores up to sixteen
// bytes at `out` each time, never more than two bytes a byte taken plus sixteen. Takes
// nothing where the processor lacks the instructions.
const char* WidenSequencesVector(const char* at, const char* end, char*& out, bool little) noexcept;

// Adds to `length` the UTF-8 bytes of the units at `at`, eight at a time, as Utf8LengthOfUnits
// counts them; returns where it stopped, fewer than sixteen bytes before `end`.
const char* CountUtf8OfUnitsVector(const char* at, const char* end, std::int64_t& length, bool little) noexcept;

}  // namespace quillon::unicode::detail
