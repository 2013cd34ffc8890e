// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The factory blocks as the transmitter must receive them, address by
// address, written out here rather than taken from the program.

#include <array>
#include <cstdint>

namespace brenk::prova {

using BloccoAtteso = std::array<std::uint8_t, 64>;

// clang-format off
inline constexpr BloccoAtteso fabbrica_uhf_attesa{
    30, 60, 6, 2, 0, 1, 1, 5, 133, 1,     // 0 - 9
    2, 63, 0,                             // 10 - 12: 460 MHz
    28, 7, 0, 1, 1, 192, 199, 111, 3,     // 13 - 21: alarm telegram
    0, 0, 3,                              // 22 - 24
    28, 7, 0, 1, 1, 199, 192, 111, 3,     // 25 - 33: restore telegram
    1, 0, 1,                              // 34 - 36
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   // 37 - 48
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,      // 49 - 59
    78, 142, 85, 90,                      // 60 - 63: "N", checksum, "U", "Z"
};

inline constexpr BloccoAtteso fabbrica_vhf_attesa{
    30, 60, 6, 2, 0, 1, 1, 5, 133, 1,     // 0 - 9
    0, 201, 32,                           // 10 - 12: 161 MHz
    28, 7, 0, 1, 1, 192, 199, 111, 3,     // 13 - 21: alarm telegram
    0, 0, 3,                              // 22 - 24
    28, 7, 0, 1, 1, 199, 192, 111, 3,     // 25 - 33: restore telegram
    1, 0, 1,                              // 34 - 36
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   // 37 - 48
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,      // 49 - 59
    78, 230, 86, 90,                      // 60 - 63: "N", checksum, "V", "Z"
};
// clang-format on

} // namespace brenk::prova
