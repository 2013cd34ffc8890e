// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The configurator's side without a screen: the port, the block, `fleg`, a
// window that records what it is told, and the one running operation.

#include "esegui.h"
#include "finestra_finta.h"
#include "ops/esecutore.h"
#include "ops/operazioni.h"

namespace brenk::prova {

struct Configuratore {
    // Runs `operazione` to its end; false if refused or still running after `limite_ms`.
    bool esegui(Task<void> operazione, int limite_ms = 60000)
    {
        if (!esecutore.avvia(std::move(operazione)))
            return false;
        return attendi([this] { return !esecutore.in_corso(); }, limite_ms);
    }
    bool connetti() { return esegui(brenk::connetti(contesto)); }

    PortaSeriale porta;
    BloccoParametri blocco;
    int fleg = 0;
    FinestraFinta finestra{blocco};
    Contesto contesto{porta, blocco, fleg, finestra};
    // Last, so that a waiting operation goes before the port it waits on.
    Esecutore esecutore;
};

} // namespace brenk::prova
