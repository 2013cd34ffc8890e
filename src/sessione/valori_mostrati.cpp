// SPDX-License-Identifier: GPL-3.0-or-later
#include "sessione/valori_mostrati.h"

#include "ops/vista.h"

#include <algorithm>

namespace brenk {

Valori valori_di(const Finestra& finestra)
{
    Valori v;
    for (std::size_t i = 0; i < numero_campi; ++i)
        v.campi[i] = finestra.testo(static_cast<Campo>(i));
    for (std::size_t i = 0; i < numero_coppie; ++i) {
        const bool secondo = finestra.selezionata(static_cast<Opzione>(2 * i + 1));
        if (secondo || finestra.selezionata(static_cast<Opzione>(2 * i)))
            v.coppie[i] = secondo;
    }
    return v;
}

void metti_valori(Finestra& finestra, const Valori& v, bool con_banda)
{
    for (std::size_t i = 0; i < numero_campi; ++i) {
        if (con_banda || static_cast<Campo>(i) != Campo::Text1)
            finestra.imposta_testo(static_cast<Campo>(i), v.campi[i]);
    }
    for (std::size_t i = 0; i < numero_coppie; ++i) {
        if (v.coppie[i])
            finestra.seleziona(static_cast<Opzione>(2 * i + *v.coppie[i]));
    }
    finestra.mostra_conferma({});
}

Valori valori_inviati(const Letti& letti, std::span<const std::uint8_t> scritture, const Valori& mostrati)
{
    Letti dopo = letti;
    std::copy(scritture.begin(), scritture.end(), dopo.begin());
    const Vista vista = vista_di(dopo);
    Valori v = mostrati;
    for (std::size_t i = 0; i < numero_campi; ++i)
        v.campi[i] = vista.testi[i].value_or(v.campi[i]);
    for (std::size_t i = 0; i < numero_coppie; ++i)
        v.coppie[i] = vista.coppie[i] ? vista.coppie[i] : v.coppie[i];
    return v;
}

} // namespace brenk
