#pragma once

namespace quillon::fuzzing {

// One of each kind the break rules tell apart, several of the kinds that pair up.
inline constexpr char32_t kRuleCodePoints[] = {
    0x0301, 0x0308, 0x034F, 0x200D, 0x200D, 0xFE0F, 0x1F3FD, 0xE0020,   // Extend, ZWJ
    0x1F1E9, 0x1F1EA, 0x1F1E9, 0x1F1EA,                                 // regional indicators
    0x1F468, 0x1F469, 0x2764, 0x00A9, 0x1F44D,                          // pictographs
    0x1100, 0x1161, 0x11A8, 0xAC00, 0xAC01,                             // Hangul L V T LV LVT
    0x0600, 0x0903, 0x0915, 0x094D, 0x00AD, 0x0085, 0x200B, 0xFFFD,     // Prepend, SpacingMark, controls
    0x00E4, 0x6F22, 0x3099, 0x000D, 0x000A, 0x0009,
    0x00C0, 0x027F, 0x0280, 0x00BF,                                     // around the two-byte letters' stretches
    0x1F3FA, 0x1F53E, 0x1F93B, 0x1F100,                                 // around the pictographs' shapes
};

}  // namespace quillon::fuzzing
