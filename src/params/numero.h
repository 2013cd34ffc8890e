// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The number a field holds: the numeric prefix of its text.

#include <QStringView>

namespace brenk {

// Blanks, tabs and line breaks anywhere are skipped; then an optional sign,
// digits, one point and an optional exponent (E or D and a whole number), or
// "&H"/"&O" and hexadecimal/octal digits. Reading stops at the first
// character that cannot continue the number; no number gives 0. The point is
// the decimal separator whatever the locale. Never fails on any input.
double valore_numerico(QStringView testo);

} // namespace brenk
