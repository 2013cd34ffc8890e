// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pictures of the two windows, drawn here rather than loaded.

#include <QImage>
#include <QSize>

namespace brenk {

// The title window's picture: a stylised pocket transmitter sending,
// 320 x 480 pixels, 24 bits.
QImage disegna_trasmettitore();

// The small mark in the main window's heading.
QImage disegna_logo(QSize dimensione);

} // namespace brenk
