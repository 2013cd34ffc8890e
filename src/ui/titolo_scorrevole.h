// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's title: 124 characters that scroll one to the left every
// 150 ms, like a running banner.

#include <QString>

namespace brenk {

// The maker's wording in the first 75 characters, then
// "Brenk  Versione ZeduRuzozudovav" and 18 blanks.
QString titolo_principale();

// One scroll step: the rightmost (lunghezza - 1) characters followed by the
// first one, where `lunghezza` is the length the title had when the window
// loaded.
QString ruota_titolo(const QString& titolo, qint16 lunghezza);

} // namespace brenk
