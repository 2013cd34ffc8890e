// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/valori.h"

#include "archivio/testi.h"

namespace brenk {

namespace {

// Enough of a refused value to recognise it in a message.
constexpr qsizetype lunghezza_mostrata = 16;

} // namespace

QString parola_coppia(const SchedaCoppia& s, std::optional<bool> secondo)
{
    return secondo ? QString::fromLatin1(s.parole[*secondo]) : QString();
}

std::optional<QString> problema_campo(const SchedaCampo& s, const QString& testo)
{
    if (ammesso(s, testo))
        return std::nullopt;
    return valore_fuori_range_file.arg(didascalia(s), testo.left(lunghezza_mostrata));
}

} // namespace brenk
