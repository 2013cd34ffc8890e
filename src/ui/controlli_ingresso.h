#pragma once

// The entry checks of the four typed fields. They never change the text:
// they point at the wrong spot by selecting one character, take the focus
// and beep. Each check returns what the field must do, in order.

#include <QStringView>

#include <vector>

namespace brenk {

struct Azione {
    enum Tipo { Beep, Seleziona, Fuoco };
    Tipo tipo;
    int posizione = 0; // for Seleziona: the character selected (from 0)
};

// Digits only, and the number the text holds at most `limite`. Both tests
// run at every position: a number over the limit beeps once per character
// and leaves the last one selected; each wrong character adds its own beep.
std::vector<Azione> controllo_cifre(QStringView testo, double limite);

// Digits and points only; just the first wrong character is flagged.
std::vector<Azione> controllo_frequenza(QStringView testo);

} // namespace brenk
