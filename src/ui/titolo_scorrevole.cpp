// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/titolo_scorrevole.h"

namespace brenk {

QString titolo_principale()
{
    return QStringLiteral("Sistemi di Allarme Personale    Assistenza Tecnica").leftJustified(75, QLatin1Char(' '))
        + QStringLiteral("Brenk  Versione ZeduRuzozudovav") + QString(18, QLatin1Char(' '));
}

QString ruota_titolo(const QString& titolo, qint16 lunghezza)
{
    return titolo.right(lunghezza - 1) + titolo.left(1);
}

} // namespace brenk
