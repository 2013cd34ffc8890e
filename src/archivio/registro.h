// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The record of the transmitters programmed: a CSV file (RFC 4180, UTF-8,
// one header line) that only ever grows, one line per programming or
// factory loading, each a single physical line appended whole or not at all.

#include "archivio/valori.h"

#include <QByteArray>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace brenk {

inline const QString estensione_registro = QStringLiteral("csv");
inline const QString estensione_registro_sql = QStringLiteral("sqlite");
// Far more than years of lines; a larger file is not read.
inline constexpr qint64 dimensione_massima_registro = 64 * 1024 * 1024;

struct RigaRegistro {
    QDateTime quando;
    QString porta;       // "Com n"
    QString dispositivo; // the device behind it
    QString tipo;
    QString esito;               // "Verificato", or what the operator was told
    bool codice_scritto = false; // the code reached the transmitter
    Valori valori;
};

QByteArray intestazione_registro();
// One line, CRLF included. A cell a spreadsheet would take for a formula is
// written as text, and a line break inside a cell as a blank.
QByteArray in_csv(const RigaRegistro& riga);

// The same cells as texts, before they are neutralised: the header's, a
// line's, and the line these make. The values' cells follow the first six.
QStringList colonne_registro();
QStringList celle_registro(const RigaRegistro& riga);
QByteArray linea_csv(const QStringList& celle);
inline constexpr qsizetype prime_colonne = 6;

// Appends `riga` (after the header when the file is new or empty). The
// message for the operator, naming the file, when it could not: then the
// file is as it was before.
std::optional<QString> annota(const QString& percorso, const RigaRegistro& riga);

// Adds the codes the record says reached a transmitter; every well-formed
// line counts, whatever the lines around it. The message for the operator
// when the record cannot be read or is not one; a record not yet made holds
// none.
std::optional<QString> codici_scritti(const QString& percorso, QSet<int>& codici);

} // namespace brenk
