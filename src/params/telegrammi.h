// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The block's two radio telegrams, the alarm's at Byt1 and the restore's at
// Byte1: their bytes from the operator's values, their check bytes, and what
// a read shows of them.

#include "params/blocco.h"
#include "params/campi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace brenk {

// A nine-byte radio telegram: 28, 7, hi, lo, in, opt, check, sum, 3.
using Telegramma = std::array<std::uint8_t, 9>;
Telegramma telegramma(std::uint8_t hi, std::uint8_t lo, std::uint8_t in, std::uint8_t opt);
// Byte 7: bytes 2 to 6 combined by exclusive or.
std::uint8_t byte_controllo(const Telegramma& t);
// Byte 8: the complement of the sum of bytes 2 to 7.
std::uint8_t byte_somma(const Telegramma& t);
// Both telegrams of a read hold their own check and sum bytes.
bool telegrammi_integri(const Letti& letti);

// The operator's values the telegrams carry, as the window's fields read.
struct SceltaTelegrammi {
    double codice = 1; // 1 to 1023
    bool toni_alti = true;
    double ripetitore = 0; // only low tones carry it
    double ingresso = 1;   // the alarm input, 1 to 8
};

// Stores both telegrams in `blocco`. hi and lo are the code's two bytes,
// with 4 times the repeater added to hi for low tones; in is the alarm
// input's bit (none for the restore, or for an input outside 1 to 8); opt is
// 120 for high tones, 124 for low. A value that no byte can carry leaves the
// block as it was and names the field to blame.
std::optional<Campo> codifica_telegrammi(const SceltaTelegrammi& scelta, BloccoParametri& blocco);

// The telegrams' bytes that carry the code.
bool porta_il_codice(int indirizzo);

// The code in the alarm telegram of `byte` (addresses 0 onwards, at least
// to Byt4) as a read shows it: with Zelmbrenk at 0 the whole of hi counts,
// otherwise its two low bits, the rest being the repeater. Bytes that stop
// before Zelmbrenk, an old type's programming, count as every programming
// codes them, for Zelmbrenk 1.
int codice_dei_telegrammi(std::span<const std::uint8_t> byte);

// The input the telegram at `primo` (Byt1 or Byte1) names as a read of
// `byte` shows it: with Zelmbrenk at 0 the low three bits of opt plus 1,
// otherwise the input whose single bit in holds, none for any other in.
std::optional<int> ingresso_del_telegramma(std::span<const std::uint8_t> byte, int primo);

} // namespace brenk
