// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/aiuto.h"

#include "ui/testi.h"

#include <QStringList>

#include <utility>

namespace brenk {

std::optional<QString> testo_aiuto(QStringView area)
{
    if (area == QLatin1String("Principale"))
        return QString();
    for (const VoceAiuto& v : voci_aiuto) {
        if (area == QLatin1String(v.area))
            return QString::fromUtf8(v.testo);
    }
    return std::nullopt;
}

const QStringList& aree_con_aiuto()
{
    static const QStringList aree = [] {
        QStringList a;
        for (const VoceAiuto& v : voci_aiuto)
            a << QString::fromLatin1(v.area);
        return a;
    }();
    return aree;
}

} // namespace brenk
