// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The entry checks of the four typed fields. They never change the text:
// they point at the wrong spot by selecting one character, take the focus,
// beep and say at the field what it accepts. Each check returns what the
// field must do, in order.

#include "params/campi.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace brenk {

struct Azione {
    enum Tipo { Beep, Seleziona, Fuoco, Suggerimento };
    Tipo tipo;
    int posizione = 0;  // for Seleziona: the character selected (from 0)
    QString testo = {}; // for Suggerimento: the short text shown at the field
};

// Digits only, and the number the text holds at most `valori.massimo`
// (typing checks the upper end only: a number too small may still be the
// start of a good one). Both
// tests run at every position: a number over the limit beeps once per
// character and leaves the last one selected; each wrong character adds its
// own beep. Any refusal ends with the tooltip "Solo cifre: minimo - massimo".
std::vector<Azione> controllo_cifre(QStringView testo, Intervallo valori);

// Digits and points only; just the first wrong character is flagged, with
// an example of a frequency as tooltip.
std::vector<Azione> controllo_frequenza(QStringView testo);

} // namespace brenk
