// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aspetto.h"

#include <QFontMetrics>
#include <QPalette>
#include <QWidget>

namespace brenk {

QFont carattere(qreal punti)
{
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    // The layout was measured for a narrow face: captions must fit their frames.
    f.setStretch(QFont::SemiCondensed);
    f.setPointSizeF(punti);
    f.setBold(true);
    return f;
}

QFont carattere_che_sta(const QFont& base, const QString& testo, const QRect& spazio, Qt::Alignment allineamento)
{
    const int modo = static_cast<int>(allineamento) | Qt::TextWordWrap;
    QFont f = base;
    for (qreal punti = base.pointSizeF(); punti >= base.pointSizeF() * 0.75; punti -= 0.25) {
        f.setPointSizeF(punti);
        if (spazio.contains(QFontMetrics(f).boundingRect(spazio, modo, testo)))
            return f;
    }
    return f;
}

void colora(QWidget* widget, const QColor& colore)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, colore);
    p.setColor(QPalette::Button, colore);
    widget->setPalette(p);
}

QIcon icona_programma()
{
    return QIcon(QStringLiteral(":/brenk-zelm.svg"));
}

} // namespace brenk
