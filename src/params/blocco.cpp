// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/blocco.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace brenk {

namespace {

// Nearest whole number, an exact half going to the even neighbour.
double arrotonda_al_pari(double valore)
{
    const double sotto = std::floor(valore);
    const double resto = valore - sotto;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(sotto, 2.0) != 0.0))
        return sotto + 1.0;
    return sotto;
}

} // namespace

std::optional<std::uint8_t> codifica_byte(double valore)
{
    // Also refuses NaN and the infinities, for which every comparison fails.
    if (!(valore >= -0.5 && valore <= 255.5))
        return std::nullopt;
    const double intero = arrotonda_al_pari(valore);
    if (intero > 255.0)
        return std::nullopt;
    return static_cast<std::uint8_t>(intero);
}

std::uint8_t complemento(long long somma)
{
    // Unsigned arithmetic wraps like two's complement, and cannot overflow.
    return static_cast<std::uint8_t>((255u - static_cast<unsigned long long>(somma)) & 255u);
}

std::uint8_t checksum_blocco(std::span<const std::uint8_t> byte)
{
    return complemento(std::accumulate(byte.begin(), byte.begin() + Zelmbrenk + 1, 0LL));
}

void calcola_totck(BloccoParametri& blocco)
{
    std::array<std::uint8_t, Zelmbrenk + 1> byte{};
    for (int indirizzo = tempopre_rap; indirizzo <= Zelmbrenk; ++indirizzo)
        byte[static_cast<std::size_t>(indirizzo)] = codifica_byte(blocco[indirizzo]).value_or(0);
    blocco[totck] = checksum_blocco(byte);
}

bool ottavo_bit_visto(const Letti& letti)
{
    return std::any_of(letti.begin(), letti.end(), [](std::uint8_t b) { return b & 0x80; });
}

} // namespace brenk
