#pragma once

namespace quillon::unicode::detail {

// Checks [begin, end) with AVX2, 32 bytes at a time, where the processor has it: the
// classification by lookup tables of Keiser and Lemire ("Validating UTF-8 in less than one
// instruction per byte", 2021). `begin` must not be inside a sequence. Returns where a
// byte-at-a-time check must go on: past every byte the vectors settled, at the start of a
// sequence the last vector may have cut. Returns nullptr when the bytes are not UTF-8, and
// `begin` when the vectors are not available or there are too few bytes for them.
const char* CheckUtf8Vectors(const char* begin, const char* end) noexcept;

}  // namespace quillon::unicode::detail
