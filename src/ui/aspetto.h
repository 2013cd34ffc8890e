// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The look both windows share: bold sans-serif text and coloured boxes.

#include <QColor>
#include <QFont>
#include <QIcon>

class QWidget;

namespace brenk {

// Bold sans-serif at `punti` points.
QFont carattere(qreal punti);

// Paints the widget's input area (and a combo box's button) in `colore`.
void colora(QWidget* widget, const QColor& colore);

// The program's icon, the same drawing its desktop entry shows.
QIcon icona_programma();

} // namespace brenk
