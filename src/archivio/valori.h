// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window shows, as the operator's files keep it: the ten parameter
// fields and the four option pairs, with the words that name them in a file.

#include <QString>

#include <array>
#include <cstddef>
#include <optional>

namespace brenk {

inline constexpr std::size_t numero_campi = 10;
inline constexpr std::size_t numero_coppie = 4;

struct Valori {
    // The fields' texts, in the window's order (Campo).
    std::array<QString, numero_campi> campi;
    // Per option pair (Opzione, two by two): whether its second button is
    // selected; empty when neither is.
    std::array<std::optional<bool>, numero_coppie> coppie;
};

// A field as a file names it: its key and the whole values it may hold (the
// band field holds any short text). Its caption heads its record column.
struct VoceCampo {
    const char* chiave;
    int minimo;
    int massimo;
};
extern const std::array<VoceCampo, numero_campi> voci_campi;

// An option pair as a file names it: its key and the words of its two buttons.
struct VoceCoppia {
    const char* chiave;
    std::array<const char*, 2> parole;
};
extern const std::array<VoceCoppia, numero_coppie> voci_coppie;

// The word a file writes for pair `i`; empty when neither button is selected.
QString parola_coppia(std::size_t i, std::optional<bool> secondo);

// Why `testo` cannot be field `i`'s value; nothing when it can.
std::optional<QString> problema_campo(std::size_t i, const QString& testo);

} // namespace brenk
