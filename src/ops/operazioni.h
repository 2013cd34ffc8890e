// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The device operations the main window's buttons start. Each reads like
// the exchange it performs; waits suspend it (see link/porta_seriale.h).

#include "ops/contesto.h"
#include "ops/testi.h"
#include "params/fabbrica.h"

#include <QString>

namespace brenk {

// "Connetti": open the port, wait for "K", answer "L", read the parameters.
// Any port error ends on the error path with its two messages.
Task<void> connetti(Contesto& c);
// The same for the next unit of a hands-free series, once the unit just
// left (which announces itself until it is taken off) is gone; the note
// shown stays through that wait.
Task<void> connetti_la_prossima(Contesto& c);

// "Disconetti" and leaving (letter 'E'): the letter if the port is open,
// " Non Connesso", close the port, empty the parameter fields.
void congeda(Contesto& c, char lettera);

// "TX": the same with the letter 'Q'; a port that cannot take it (the device
// is gone) is told, as no transmission started.
Task<void> trasmissione_di_prova(Contesto& c);

// Reads addresses 0 to 62, again while the read is doubtful, and shows a
// read that can be trusted; when none can, the read-error message and
// nothing shown. Throws ErrorePorta when the port closes under it.
Task<void> leggi_parametri(Contesto& c);

// "Programma": only over a trusted read of this connection; checks, builds
// and writes the block, then reads it back and verifies it.
Task<void> programma(Contesto& c);

// "UHF" / "VHF": writes the factory block, then reads it back and verifies it.
Task<void> carica_fabbrica(Contesto& c, Banda banda);

// Empties the ten parameter fields in their order.
void svuota_campi(Finestra& finestra);

} // namespace brenk
