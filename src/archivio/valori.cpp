// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/valori.h"

#include "params/campi.h"
#include "params/frequenza.h"
#include "params/numero.h"
#include "testi_operatore.h"

namespace brenk {

namespace {

constexpr std::size_t campo_frequenza = 1;
constexpr std::size_t campo_banda = 9;
constexpr qsizetype lunghezza_massima = 16;

bool solo(const QString& testo, QStringView ammessi)
{
    for (QChar c : testo)
        if (!ammessi.contains(c))
            return false;
    return true;
}

} // namespace

const std::array<VoceCampo, numero_campi> voci_campi{{
    {"codice_brenk", 0, 1023},
    {"frequenza_tx", 0, 0},
    {"timer_rapina", 0, 255},
    {"timer_antiatterramento", 0, 255},
    {"ingresso_allarme", 0, 8},
    {"ingresso_ripristino", 0, 8},
    {"trasmissioni_totali", 0, 255},
    {"codice_ripetitore", 0, 63},
    {"filtro_pulsante", 0, 255},
    {"banda", 0, 0},
}};

const std::array<VoceCoppia, numero_coppie> voci_coppie{{
    {"toni", {"alti", "bassi"}},
    {"ripristino", {"no", "si"}},
    {"trasmissione", {"singola", "multipla"}},
    {"modo", {"brenk", "zelm"}},
}};

QString parola_coppia(std::size_t i, std::optional<bool> secondo)
{
    return secondo ? QString::fromLatin1(voci_coppie[i].parole[*secondo]) : QString();
}

// Only what the window's entry checks let through, within what the field can
// hold; the band field is written by a read, never typed.
std::optional<QString> problema_campo(std::size_t i, const QString& testo)
{
    const QString fuori = valore_fuori_range_file
                              .arg(QString::fromUtf8(schede_campi[i].didascalia), testo.left(lunghezza_massima));
    if (testo.isEmpty())
        return std::nullopt;
    if (testo.size() > lunghezza_massima)
        return fuori;
    if (i == campo_banda)
        return solo(testo, u" UHFVHF") ? std::nullopt : std::optional(fuori);
    const double valore = valore_numerico(testo);
    if (i == campo_frequenza) {
        const bool valida = solo(testo, u"0123456789.") && controlla_frequenza(valore, 0).accettata;
        return valida ? std::nullopt : std::optional(fuori);
    }
    const bool valido = solo(testo, u"0123456789") && valore >= voci_campi[i].minimo
        && valore <= voci_campi[i].massimo;
    return valido ? std::nullopt : std::optional(fuori);
}

} // namespace brenk
