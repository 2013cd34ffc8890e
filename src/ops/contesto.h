// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The state a device operation works on. The session owns all of it.

#include "link/porta_seriale.h"
#include "ops/finestra.h"
#include "ops/osservatore.h"
#include "params/blocco.h"

namespace brenk {

struct Contesto {
    PortaSeriale& porta;
    BloccoParametri& blocco;
    int& fleg; // 1 while a programming runs
    Finestra& finestra;
    Osservatore& eventi = Osservatore::nessuno();

    // A message to the operator, reported as told.
    Task<void> messaggio(const QString& testo, Icona icona)
    {
        eventi.detto(testo);
        return finestra.messaggio(testo, icona);
    }
};

} // namespace brenk
