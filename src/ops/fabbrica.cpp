#include "ops/operazioni.h"
#include "ops/scambi.h"

namespace brenk {

Task<void> carica_fabbrica(Contesto& c, Banda banda)
{
    if (!co_await scrivi_blocco(c, blocco_fabbrica(banda)))
        co_return;
    svuota_campi(c.finestra);
    co_await rileggi(c);
}

} // namespace brenk
