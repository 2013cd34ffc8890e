// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The factory blocks as the transmitter must receive them, address by
// address, written out here rather than taken from the program.

#include <array>
#include <cstdint>
#include <utility>

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
// clang-format on

// The VHF block: 161 MHz at 10 - 12, its checksum and "V" at 61 and 62.
inline constexpr BloccoAtteso fabbrica_vhf_attesa = [] {
    BloccoAtteso b = fabbrica_uhf_attesa;
    for (const auto& [indirizzo, valore] : {std::pair{10, 0}, {11, 201}, {12, 32}, {61, 230}, {62, 86}})
        b[std::size_t(indirizzo)] = std::uint8_t(valore);
    return b;
}();

} // namespace brenk::prova
