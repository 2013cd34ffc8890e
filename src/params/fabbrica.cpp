// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/fabbrica.h"

#include "params/blocco.h"

namespace brenk {

namespace {

// The block both bands share; the frequency, checksum and band bytes are
// set by the band. Addresses 37 to 59 stay 0.
constexpr BloccoFabbrica blocco_per_banda(std::uint8_t t1, std::uint8_t t2, std::uint8_t t3, std::uint8_t checksum,
                                          std::uint8_t banda)
{
    BloccoFabbrica b{
        30, 60, 6, 2, 0, 1,   1,   5,   133, 1, // 0..9: times, packets, options, BaseD1..3
        0,  0,  0,                              // 10..12: frequency
        28, 7,  0, 1, 1, 192, 199, 111, 3,      // 13..21: alarm telegram, code 1, input 1
        0,  0,  3,                              // 22..24
        28, 7,  0, 1, 1, 199, 192, 111, 3,      // 25..33: restore telegram
        1,  0,  1,                              // 34..36: filter 1 s, repeater 0, Zelm mode
    };
    b[ByteT1] = t1;
    b[ByteT2] = t2;
    b[ByteT3] = t3;
    b[Tipo_brenk] = 78; // "N"
    b[totck] = checksum;
    b[brenkVU] = banda;
    b[63] = 90; // "Z", end mark
    return b;
}

constexpr BloccoFabbrica fabbrica_uhf = blocco_per_banda(2, 63, 0, 142, 85);   // 460 MHz, "U"
constexpr BloccoFabbrica fabbrica_vhf = blocco_per_banda(0, 201, 32, 230, 86); // 161 MHz, "V"

} // namespace

const BloccoFabbrica& blocco_fabbrica(Banda banda)
{
    return banda == Banda::UHF ? fabbrica_uhf : fabbrica_vhf;
}

} // namespace brenk
