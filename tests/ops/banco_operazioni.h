// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The operations' test bench: the configurator without a screen on the
// virtual line, the simulated transmitter at its far end, and the bytes the
// transmitter expects.

#include "banco_virtuale.h"
#include "scambi_attesi.h"

#include <QList>
#include <QPair>

#include <array>
#include <functional>
#include <numeric>

namespace brenk::prova {

using Modifiche = QList<QPair<int, int>>;
// What a test changes in the transmitter: its faults, or its memory.
using Guasto = std::function<void(OpzioniSimulatore&)>;

inline OpzioniSimulatore con_memoria(const Memoria& m, const Guasto& guasto = {})
{
    OpzioniSimulatore o;
    o.memoria = m;
    if (guasto)
        guasto(o);
    return o;
}

// The UHF block with some addresses changed, its telegrams' check bytes and
// its checksum made right again.
inline Memoria uhf_con(const Modifiche& modifiche)
{
    Memoria m = memoria_predefinita(Contenuto::UHF);
    for (const auto& [indirizzo, valore] : modifiche)
        m[static_cast<std::size_t>(indirizzo)] = static_cast<std::uint8_t>(valore);
    for (const int primo : {Byt1, Byte1}) {
        const auto t = telegramma(m[primo + 2], m[primo + 3], m[primo + 4], m[primo + 5]);
        std::copy(t.begin(), t.end(), m.begin() + primo);
    }
    m[totck] = complemento(std::accumulate(m.begin(), m.begin() + Zelmbrenk + 1, 0LL));
    return m;
}

// Everything an operation works on, the transmitter at the other end.
struct Banco : BancoVirtuale {
    using BancoVirtuale::BancoVirtuale;
    explicit Banco(Contenuto contenuto, const Guasto& guasto = {})
        : BancoVirtuale(con_memoria(memoria_predefinita(contenuto), guasto))
    {
    }

    bool connetti()
    {
        const bool finita = esegui(brenk::connetti(contesto));
        ricevuti_alla_connessione = ricevuti().size();
        return finita;
    }
    // The bytes received since the handshake and its reads.
    QByteArray dopo_connessione() const { return ricevuti().mid(ricevuti_alla_connessione); }

    qsizetype ricevuti_alla_connessione = 0;
};

// What the programming writes for the UHF block as read, fields untouched.
inline std::array<std::uint8_t, 62> programmazione_uhf()
{
    std::array<std::uint8_t, 62> v{30, 60, 6, 2, 0, 1, 1, 5, 133, 1, 2, 63, 0,
                                    28, 7, 0, 1, 1, 120, 127, 255, 3,
                                    0, 0, 3,
                                    28, 7, 0, 1, 0, 120, 126, 1, 3,
                                    1, 0, 1};
    v[60] = 78;
    v[61] = static_cast<std::uint8_t>((255 - std::accumulate(v.begin(), v.begin() + 37, 0)) & 255);
    return v;
}

} // namespace brenk::prova

Q_DECLARE_METATYPE(brenk::prova::Guasto)
