// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The help window that F1 opens over the main window: the day on site in
// Italian (files, the series, the record, what to do after each outcome),
// as rich text from the program's resources.

class QWidget;

namespace brenk {

// F1 on `finestra` opens its help window, or brings it to the front.
void guida_con_f1(QWidget* finestra);

} // namespace brenk
