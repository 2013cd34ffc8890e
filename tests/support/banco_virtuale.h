// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The configurator's side without a screen, the virtual line, the simulated
// transmitter at its far end: the real operations and the real port logic
// on virtual time, which moves only when both sides wait. A 4000 ms
// time-out costs nothing, and every byte's time is exact.

#include "finestra_finta.h"
#include "linea_virtuale.h"
#include "ops/esecutore.h"
#include "ops/operazioni.h"

#include <QCoreApplication>

#include <functional>

namespace brenk::prova {

struct BancoVirtuale {
    // Com 1 is mapped to a name without asking the system for its ports.
    explicit BancoVirtuale(const OpzioniSimulatore& opzioni) : linea(opzioni, orologio)
    {
        qputenv("BRENK_COM1", "virtuale");
    }

    const Trasmettitore& tx() const { return linea.trasmettitore(); }
    // Every byte the transmitter has received.
    QByteArray ricevuti() const
    {
        QByteArray r;
        for (const auto& e : tx().registro_ricevuti())
            r.append(static_cast<char>(e.byte));
        return r;
    }

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
    void aspetta(double ms) { avanza_finche([] { return false; }, ms); }
    // Runs `operazione` to its end; false if refused or still running after `limite_ms`.
    bool esegui(Task<void> operazione, double limite_ms = 60000)
    {
        return esecutore.avvia(std::move(operazione))
               && avanza_finche([this] { return !esecutore.in_corso(); }, limite_ms);
    }

    OrologioVirtuale orologio;
    LineaVirtuale linea;
    PortaSeriale porta{linea.dispositivo(), orologio};
    BloccoParametri blocco;
    int fleg = 0;
    FinestraFinta finestra{blocco};
    Contesto contesto{porta, blocco, fleg, finestra};
    // Last, so that a waiting operation goes before the port it waits on.
    Esecutore esecutore;
};

} // namespace brenk::prova
