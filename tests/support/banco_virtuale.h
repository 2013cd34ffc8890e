// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The operations' test bench: the configurator's side without a screen on
// the virtual line, which moves on only when both ends wait, the simulated
// transmitter at its far end, and the bytes the transmitter expects.

#include "finestra_finta.h"
#include "linea_virtuale.h"
#include "scambi_attesi.h"
#include "ops/esecutore.h"
#include "ops/operazioni.h"
#include "params/telegrammi.h"

#include <QCoreApplication>
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

// What the programming writes for the UHF block as read, fields untouched.
inline std::array<std::uint8_t, 62> programmazione_uhf()
{
    std::array<std::uint8_t, 62> v{30,  60,  6, 2, 0, 1, 1,  5, 133, 1, 2, 63,  0,   28, 7, 0, 1, 1, 120,
                                   127, 255, 3, 0, 0, 3, 28, 7, 0,   1, 0, 120, 126, 1,  3, 1, 0, 1};
    v[60] = 78;
    v[61] = static_cast<std::uint8_t>((255 - std::accumulate(v.begin(), v.begin() + 37, 0)) & 255);
    return v;
}

// Everything an operation works on, the transmitter at the other end.
struct BancoVirtuale {
    // Com 1 is mapped to a name without asking the system for its ports.
    explicit BancoVirtuale(const OpzioniSimulatore& opzioni) : linea(opzioni, orologio)
    {
        qputenv("BRENK_COM1", "virtuale");
    }
    explicit BancoVirtuale(Contenuto contenuto, const Guasto& guasto = {})
        : BancoVirtuale(con_memoria(memoria_predefinita(contenuto), guasto))
    {
    }

    const Trasmettitore& tx() const { return linea.trasmettitore(); }
    QByteArray ricevuti() const { return linea.ricevuti(); }
    // Every byte that has arrived at the PC.
    QByteArray arrivati() const
    {
        QByteArray a;
        for (const auto& p : linea.registro())
            if (!p.dal_pc)
                a.append(static_cast<char>(p.byte));
        return a;
    }

    // Runs what falls due, in time order, until `fatto` holds or `limite_ms`
    // of virtual time have passed; whether it holds.
    bool avanza_finche(const std::function<bool()>& fatto, double limite_ms = 60000)
    {
        const double fine = orologio.adesso_ms() + limite_ms;
        do
            QCoreApplication::sendPostedEvents();
        while (!fatto() && orologio.avanza(fine));
        return fatto();
    }
    void aspetta(double ms)
    {
        avanza_finche([] { return false; }, ms);
    }
    // Runs `operazione` to its end; false if refused or still running after `limite_ms`.
    bool esegui(Task<void> operazione, double limite_ms = 60000)
    {
        return esecutore.avvia(std::move(operazione))
               && avanza_finche([this] { return !esecutore.in_corso(); }, limite_ms);
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
    OrologioVirtuale orologio;
    LineaVirtuale linea;
    PortaSeriale porta{linea.dispositivo(), orologio};
    BloccoParametri blocco;
    int fleg = 0;
    FinestraFinta finestra{blocco};
    Contesto contesto{porta, blocco, fleg, finestra, finestra};
    // Last, so that a waiting operation goes before the port it waits on.
    Esecutore esecutore;
};
using Banco = BancoVirtuale;

} // namespace brenk::prova

Q_DECLARE_METATYPE(brenk::prova::Guasto)
