// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/controllo_scrittura.h"

#include "ops/testi.h"
#include "params/numero.h"

namespace brenk {

namespace {

bool scelta_dall_operatore(const SchedaCoppia& s)
{
    return !s.dal_programma;
}

bool stesso_valore(const QString& a, const QString& b)
{
    return valore_numerico(a) == valore_numerico(b);
}

} // namespace

std::optional<QString> coppia_senza_scelta(const Finestra& finestra)
{
    for (const SchedaCoppia& c : schede_coppie)
        if (scelta_dall_operatore(c) && !finestra.selezionata(bottone(c.coppia, false))
            && !finestra.selezionata(bottone(c.coppia, true)))
            return didascalia(c);
    return std::nullopt;
}

std::optional<QString> scelta_fuori_lista(const Finestra& finestra, int ultimo)
{
    for (const SchedaCampo& s : schede_campi) {
        const bool scritto = programmato(s) && s.indirizzo <= ultimo;
        if (s.immissione == Immissione::Scelta && scritto && !tra_le_scelte(s, finestra.testo(s.campo)))
            return messaggio_valore_fuori_range.arg(didascalia(s), testo_intervallo(s.valori));
    }
    return std::nullopt;
}

std::optional<Discordanza> prima_discordanza(const Vista& letta, const Vista& scritta, const Finestra& finestra)
{
    for (const SchedaCampo& s : schede_campi) {
        const Campo campo = s.campo;
        if (!programmato(s))
            continue;
        const auto& conterrebbe = scritta.testo(campo);
        const QString mostrato = finestra.testo(campo);
        if (!conterrebbe || stesso_valore(mostrato, *conterrebbe))
            continue;
        const auto& mostrato_letto = letta.testo(campo);
        const bool digitata = campo == Campo::FqTx && !(mostrato_letto && stesso_valore(mostrato, *mostrato_letto));
        if (!digitata)
            return Discordanza{didascalia(s), mostrato, *conterrebbe};
    }
    for (const SchedaCoppia& c : schede_coppie) {
        const auto conterrebbe = scritta.coppie[static_cast<std::size_t>(c.coppia)];
        const bool mostrato = finestra.selezionata(bottone(c.coppia, true));
        if (scelta_dall_operatore(c) && conterrebbe && *conterrebbe != mostrato)
            return Discordanza{didascalia(c), QString::fromUtf8(c.bottoni[mostrato]),
                               QString::fromUtf8(c.bottoni[*conterrebbe])};
    }
    return std::nullopt;
}

} // namespace brenk
