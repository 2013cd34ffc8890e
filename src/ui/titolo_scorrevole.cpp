// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/titolo_scorrevole.h"

#include "ui/testi.h"

namespace brenk {

QString titolo_principale()
{
    return titolo_sinistra.leftJustified(75, QLatin1Char(' ')) + titolo_destra + QString(18, QLatin1Char(' '));
}

QString ruota_titolo(const QString& titolo, qint16 lunghezza)
{
    return titolo.right(lunghezza - 1) + titolo.left(1);
}

} // namespace brenk
