// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The requests the configurator sends, as the transmitter receives them.

#include <QByteArray>

#include <cstdint>
#include <span>

namespace brenk::prova {

// "R" and each address 0 to 62, `volte` times over.
inline QByteArray lettura_completa(int volte = 1)
{
    QByteArray r;
    for (int t = 0; t <= 62; ++t)
        r.append('R').append(static_cast<char>(t));
    return r.repeated(volte);
}

// A connect's read that its own checks vouch for: `volte` reads of the block,
// then the type and the band read once more.
inline QByteArray lettura_confermata(int volte = 1)
{
    return lettura_completa(volte)
           + QByteArray("R\x3c"
                        "R\x3e",
                        4);
}

// "W", the address and the value, for each of `valori` from address 0.
inline QByteArray scritture(std::span<const std::uint8_t> valori)
{
    QByteArray w;
    for (std::size_t a = 0; a < valori.size(); ++a)
        w.append('W').append(static_cast<char>(a)).append(static_cast<char>(valori[a]));
    return w;
}

} // namespace brenk::prova
