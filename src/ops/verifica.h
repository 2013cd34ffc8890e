// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Comparing what a programming or a factory loading wrote with what the
// transmitter gives back, in the operator's words.

#include "ops/scambi.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace brenk {

struct Differenza {
    int indirizzo;
    std::uint8_t scritto;
    std::uint8_t letto;
};

// The first address, among those both written and read back, that holds
// another value than was written.
std::optional<Differenza> prima_differenza(std::span<const std::uint8_t> scritti, const Letti& letti);

// The field an address belongs to as the window names it, or "indirizzo n".
QString nome_indirizzo(int indirizzo);

// The first difference, then `poi`: what to do next.
QString messaggio_verifica(const Differenza& d, const QString& poi);
// The confirmation that every address written and read back holds its value.
QString conferma_verifica(std::span<const std::uint8_t> scritti, const Letti& letti);

} // namespace brenk
