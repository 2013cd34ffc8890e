// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/valori.h"

#include "archivio/testi.h"
#include "params/testi.h"

namespace brenk {

namespace {

// Enough of a refused value to recognise it in a message.
constexpr qsizetype lunghezza_mostrata = 16;

} // namespace

QString parola_coppia(const SchedaCoppia& s, std::optional<bool> secondo)
{
    return secondo ? QString::fromLatin1(s.parole[*secondo]) : QString();
}

QString testo_in_file(const SchedaCampo& s, const QString& testo)
{
    return s.immissione == Immissione::Banda ? testo.trimmed() : testo;
}

QString testo_da_file(const SchedaCampo& s, const QString& testo)
{
    for (const QString& banda : {testo_banda_uhf, testo_banda_vhf})
        if (s.immissione == Immissione::Banda && testo == banda.trimmed())
            return banda;
    return testo;
}

std::optional<QString> problema_campo(const SchedaCampo& s, const QString& testo)
{
    if (ammesso(s, testo))
        return std::nullopt;
    return valore_fuori_range_file.arg(didascalia(s), testo.left(lunghezza_mostrata));
}

} // namespace brenk
