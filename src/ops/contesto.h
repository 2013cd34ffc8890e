// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The state a device operation works on. The main window owns all of it.

#include "link/porta_seriale.h"
#include "ops/finestra.h"
#include "params/blocco.h"

namespace brenk {

struct Contesto {
    PortaSeriale& porta;
    BloccoParametri& blocco;
    int& fleg;        // 1 while a programming runs
    Finestra& finestra;
};

} // namespace brenk
