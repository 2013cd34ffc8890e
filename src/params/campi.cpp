// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/campi.h"

#include "params/numero.h"
#include "params/testi.h"

#include <QStringList>

#include <algorithm>

namespace brenk {

namespace {

bool solo(QStringView testo, QStringView ammessi)
{
    return std::all_of(testo.begin(), testo.end(), [ammessi](QChar c) { return ammessi.contains(c); });
}

} // namespace

QString didascalia(const SchedaCampo& s)
{
    return QString::fromUtf8(s.didascalia);
}

QString didascalia(const SchedaCoppia& s)
{
    return QString::fromUtf8(s.didascalia);
}

QString testo_intervallo(Intervallo i)
{
    return QStringLiteral("%1 - %2").arg(i.minimo).arg(i.massimo);
}

QStringList scelte(const SchedaCampo& s)
{
    QStringList voci;
    for (int n = s.valori.minimo; n <= s.valori.massimo; ++n)
        voci << QString::number(n);
    return voci;
}

bool tra_le_scelte(const SchedaCampo& s, QStringView testo)
{
    bool numero = false;
    const int n = testo.toInt(&numero);
    return numero && n >= s.valori.minimo && n <= s.valori.massimo && QString::number(n) == testo;
}

bool ammesso(const SchedaCampo& s, QStringView testo)
{
    switch (s.immissione) {
    case Immissione::Cifre:
        return solo(testo, u"0123456789") && valore_numerico(testo) <= s.valori.massimo;
    case Immissione::Frequenza:
        return solo(testo, u"0123456789.");
    case Immissione::Scelta:
        return testo.isEmpty() || tra_le_scelte(s, testo);
    case Immissione::Banda:
        return testo.isEmpty() || testo == testo_banda_uhf || testo == testo_banda_vhf;
    }
    return false;
}

} // namespace brenk
