// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The look both windows share: bold sans-serif text and coloured boxes.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>

class QWidget;

namespace brenk {

// Bold sans-serif at `punti` points.
QFont carattere(qreal punti);

// `base`, or a face a little smaller (down to three quarters of its size)
// in which `testo`, aligned so and wrapped at its words, fits `spazio` whole.
QFont carattere_che_sta(const QFont& base, const QString& testo, const QRect& spazio, Qt::Alignment allineamento);

// Paints the widget's input area (and a combo box's button) in `colore`.
void colora(QWidget* widget, const QColor& colore);

// The program's icon, the same drawing its desktop entry shows.
QIcon icona_programma();

} // namespace brenk
