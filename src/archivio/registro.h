// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The record of the transmitters programmed: a CSV file (RFC 4180, UTF-8,
// one header line) that only ever grows, one line per programming or
// factory loading, each appended in a single write.

#include "archivio/valori.h"
#include "testi_operatore.h"

#include <QByteArray>
#include <QDateTime>
#include <QSet>
#include <QString>

#include <optional>

namespace brenk {

inline const QString estensione_registro = QStringLiteral("csv");

struct RigaRegistro {
    QDateTime quando;
    QString porta;       // "Com n"
    QString dispositivo; // the device behind it
    QString tipo;
    QString esito;       // "Verificato", or the message the operator saw
    Valori valori;       // as written
};

QByteArray intestazione_registro();
QByteArray in_csv(const RigaRegistro& riga);

// Appends `riga` (after the header when the file is new or empty); the
// message for the operator when it could not.
std::optional<QString> annota(const QString& percorso, const RigaRegistro& riga);

// The codes the record holds for verified units; the message for the
// operator when the record cannot be read. A record not yet made holds none.
std::optional<QString> codici_verificati(const QString& percorso, QSet<int>& codici);

} // namespace brenk
