// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The transmit frequency: its test against the TX ranges and the band, its
// coding into ByteT1..ByteT3 on the 12.5 kHz grid, and back into text.

#include "params/blocco.h"

#include <QString>

namespace brenk {

struct ControlloFrequenza {
    bool avviso_range = false; // show "Frequenza TX fuori range!" and go on
    bool accettata = true;     // false: show "Frequenza Fuori Banda !" and stop
};

// `f` in MHz as typed; `banda` is brenkVU (85 UHF, 86 VHF, anything else: no
// band limits, but a frequency whose bytes would not fit is still refused).
ControlloFrequenza controlla_frequenza(double f, double banda);

struct ByteFrequenza {
    long long t1 = 0, t2 = 0, t3 = 0;
};
// The channel bytes of `f`: N = floor((f + 0.01) / 0.0125 + 0.000001),
// ByteT1 = (N / 64) / 256, ByteT2 = (N / 64) % 256, ByteT3 = 2 * (N % 64).
ByteFrequenza calcola_byte_frequenza(double f);
// Stores the channel bytes of `f` in ByteT1..ByteT3.
void codifica_frequenza(double f, BloccoParametri& blocco);
// Halves ByteT3 in the block and returns the frequency text of the bytes,
// exact and shortest ("460", "160.9125", "160.85625").
QString decodifica_frequenza(BloccoParametri& blocco);

} // namespace brenk
