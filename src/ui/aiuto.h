// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The help line: the text each area of the main window puts in `Text7`
// when the pointer moves over its free surface.

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace brenk {

// The help text of the area named `area` (a control name); the empty string
// for the bare window ("Principale"); nothing for every other name, whose
// surface leaves the help line as it is.
std::optional<QString> testo_aiuto(QStringView area);

// The areas that have a help text of their own, the window excluded.
const QStringList& aree_con_aiuto();

} // namespace brenk
