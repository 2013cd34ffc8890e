// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/telegrammi.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace brenk {

namespace {

constexpr std::uint8_t opt_toni_alti = 120;
constexpr std::uint8_t opt_toni_bassi = 124;
constexpr int ingressi = 8;
// The bytes' places in a telegram.
constexpr int posto_in = 4;
constexpr int posto_opt = 5;

std::uint8_t maschera_ingresso(double ingresso)
{
    for (int n = 1; n <= ingressi; ++n)
        if (ingresso == n)
            return static_cast<std::uint8_t>(1 << (n - 1));
    return 0;
}

std::optional<int> ingresso_da_maschera(std::uint8_t maschera)
{
    for (int n = 1; n <= ingressi; ++n)
        if (maschera == 1 << (n - 1))
            return n;
    return std::nullopt;
}

bool zelmbrenk_a_zero(std::span<const std::uint8_t> byte)
{
    return byte.size() > Zelmbrenk && byte[Zelmbrenk] == 0;
}

void memorizza(BloccoParametri& blocco, int primo, const Telegramma& t)
{
    for (std::size_t i = 0; i < t.size(); ++i)
        blocco[primo + static_cast<int>(i)] = t[i];
}

} // namespace

Telegramma telegramma(std::uint8_t hi, std::uint8_t lo, std::uint8_t in, std::uint8_t opt)
{
    Telegramma t{28, 7, hi, lo, in, opt, 0, 0, 3};
    t[6] = byte_controllo(t);
    t[7] = byte_somma(t);
    return t;
}

std::uint8_t byte_controllo(const Telegramma& t)
{
    // Bytes 2 to 6 sit at indices 1 to 5.
    return static_cast<std::uint8_t>(t[1] ^ t[2] ^ t[3] ^ t[4] ^ t[5]);
}

std::uint8_t byte_somma(const Telegramma& t)
{
    // Bytes 2 to 7 sit at indices 1 to 6.
    return complemento(std::accumulate(t.begin() + 1, t.begin() + 7, 0LL));
}

bool telegrammi_integri(const Letti& letti)
{
    for (const int primo : {Byt1, Byte1}) {
        Telegramma t{};
        std::copy_n(letti.begin() + primo, t.size(), t.begin());
        if (byte_controllo(t) != t[6] || byte_somma(t) != t[7])
            return false;
    }
    return true;
}

std::optional<Campo> codifica_telegrammi(const SceltaTelegrammi& scelta, BloccoParametri& blocco)
{
    double hi = std::floor(scelta.codice / 256);
    const double lo = scelta.codice - 256 * hi;
    if (!scelta.toni_alti)
        hi += 4 * scelta.ripetitore;
    const auto byte_hi = codifica_byte(hi);
    if (!byte_hi)
        return Campo::cmb_Zelmrep;
    const auto byte_lo = codifica_byte(lo);
    if (!byte_lo)
        return Campo::CodiceBrenk;
    const std::uint8_t opt = scelta.toni_alti ? opt_toni_alti : opt_toni_bassi;
    memorizza(blocco, Byt1, telegramma(*byte_hi, *byte_lo, maschera_ingresso(scelta.ingresso), opt));
    memorizza(blocco, Byte1, telegramma(*byte_hi, *byte_lo, 0, opt));
    return std::nullopt;
}

bool porta_il_codice(int indirizzo)
{
    return indirizzo == Byt3 || indirizzo == Byt4 || indirizzo == Byte3 || indirizzo == Byte4;
}

int codice_dei_telegrammi(std::span<const std::uint8_t> byte)
{
    const int hi = zelmbrenk_a_zero(byte) ? byte[Byt3] : byte[Byt3] & 3;
    return 256 * hi + byte[Byt4];
}

std::optional<int> ingresso_del_telegramma(std::span<const std::uint8_t> byte, int primo)
{
    const auto posto = [&](int i) { return byte[static_cast<std::size_t>(primo + i)]; };
    if (zelmbrenk_a_zero(byte))
        return (posto(posto_opt) & 7) + 1;
    return ingresso_da_maschera(posto(posto_in));
}

} // namespace brenk
