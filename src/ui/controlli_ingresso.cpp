// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controlli_ingresso.h"

#include "params/numero.h"
#include "ui/testi.h"

namespace brenk {

namespace {

bool cifra(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::vector<Azione> controllo_cifre(QStringView testo, Intervallo valori)
{
    std::vector<Azione> azioni;
    const bool oltre = valore_numerico(testo) > valori.massimo;
    for (int i = 0; i < testo.size(); ++i) {
        if (!cifra(testo[i]))
            azioni.insert(azioni.end(), {{Azione::Beep}, {Azione::Seleziona, i}, {Azione::Fuoco}});
        if (oltre)
            azioni.insert(azioni.end(), {{Azione::Seleziona, i}, {Azione::Fuoco}, {Azione::Beep}});
    }
    if (!azioni.empty())
        azioni.push_back({Azione::Suggerimento, 0, suggerimento_cifre.arg(valori.minimo).arg(valori.massimo)});
    return azioni;
}

std::vector<Azione> controllo_frequenza(QStringView testo)
{
    for (int i = 0; i < testo.size(); ++i) {
        if (!cifra(testo[i]) && testo[i] != QLatin1Char('.'))
            return {{Azione::Seleziona, i},
                    {Azione::Fuoco},
                    {Azione::Beep},
                    {Azione::Suggerimento, 0, suggerimento_frequenza}};
    }
    return {};
}

} // namespace brenk
