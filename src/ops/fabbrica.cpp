// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/operazioni.h"
#include "ops/scambi.h"

namespace brenk {

Task<void> carica_fabbrica(Contesto& c, Banda banda)
{
    c.finestra.mostra_conferma({});
    const auto blocco = blocco_fabbrica(banda);
    Conversazione linea(c);
    const bool scritto = co_await scrivi_blocco(c, linea, blocco);
    if (!scritto)
        co_return;
    svuota_campi(c.finestra);
    co_await rileggi_e_verifica(c, linea, blocco, ripetere);
}

} // namespace brenk
