#include "ops/operazioni.h"
#include "ops/scambi.h"

namespace brenk {

Task<void> carica_fabbrica(Contesto& c, Banda banda)
{
    const bool scritto = co_await scrivi_blocco(c, blocco_fabbrica(banda));
    if (!scritto)
        co_return;
    svuota_campi(c.finestra);
    co_await rileggi(c);
}

} // namespace brenk
