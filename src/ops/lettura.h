// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A read of the block, and what the window and the block make of one.

#include "ops/scambi.h"

namespace brenk {

// Reads addresses 0 to 62 with the progress bar running; the quiet time
// that proves the last reply is the caller's. Throws ErrorePorta when the
// port closes under it.
Task<Letti> leggi_blocco(Contesto& c, Conversazione& linea);

// The type a read shows: "New" or "Old".
QString tipo_letto(const Letti& letti);

// Keeps a trusted read in the block and shows it: the type, the read-error
// message when a new type's checksum is wrong, then the fields.
Task<void> mostra_lettura(Contesto& c, const Letti& letti);

} // namespace brenk
