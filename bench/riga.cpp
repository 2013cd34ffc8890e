// SPDX-License-Identifier: GPL-3.0-or-later
#include "riga.h"

#include <algorithm>
#include <cstdio>

namespace brenk {

void stampa(std::vector<Riga> corse)
{
    std::ranges::sort(corse, {}, &Riga::all_ultima_risposta);
    const Riga& r = corse[corse.size() / 2];
    const double linea = double(r.byte) * secondi_per_byte;
    std::printf("%-22s %6lld byte  linea %7.3f s  ultima risposta %7.3f s  rapporto %.4f (%.4f-%.4f, %zu corse)  "
                "fine %7.3f s  rapporto %.4f\n",
                r.nome, static_cast<long long>(r.byte), linea, r.all_ultima_risposta, r.all_ultima_risposta / linea,
                corse.front().all_ultima_risposta / linea, corse.back().all_ultima_risposta / linea, corse.size(),
                r.misurato, r.misurato / linea);
}

} // namespace brenk
