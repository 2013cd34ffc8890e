// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The parameters' own texts: the band as the "Banda" field shows it. Every
// layer's texts are in its own testi.h; the operator reads them exactly as
// written here.

#include <QString>

namespace brenk {

inline const QString testo_banda_uhf = QStringLiteral("  UHF");
inline const QString testo_banda_vhf = QStringLiteral("  VHF");

} // namespace brenk
