// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside the record of codes: its connection, its schema and the statements
// both engines share. Not for the layers above: they use registro_codici.h.

#include "archivio/registro.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <optional>

namespace brenk::sql {

// Runs one statement, `valori` bound to its "?" in order; its error, if any.
std::optional<QSqlError> esegui(QSqlQuery& q, const QString& testo, const QVariantList& valori = {});
// Begins a transaction that writes: SQLite takes its write lock at once.
std::optional<QSqlError> inizia(QSqlDatabase& db);
std::optional<QSqlError> termina(QSqlDatabase& db, bool conferma);
// Commits when `errore` is empty, else rolls back; the transaction's error.
std::optional<QSqlError> chiudi(QSqlDatabase& db, std::optional<QSqlError> errore);

// Opens `indirizzo` as connection `connessione`; `nome` is the record as the
// operator knows it. The reason, when it cannot be opened for writing.
std::optional<QString> connetti(const QString& indirizzo, const QString& connessione, QString& nome);
// Brings the record to the present schema, under a lock that one other
// process opening it at once waits for. The reason when it cannot.
std::optional<QString> prepara_schema(QSqlDatabase& db);

// The time now, ISO 8601 with its offset, as the tables keep it.
QString adesso();
// A time the tables keep, as the operator reads it: "10/12/2026 09:30".
QString data_e_ora(const QString& iso);
QString computer();
QString utente();
// The values' cells of a line (from `prime_colonne` on), as one text.
QString testo_valori(const QStringList& celle);

// A line of the record (the cells of celle_registro) into `righe`.
std::optional<QSqlError> inserisci_riga(QSqlDatabase& db, const QString& id, const QString& sito,
                                        const QStringList& celle);
// The site's lines as cells, in time order.
std::optional<QSqlError> leggi_righe(QSqlDatabase& db, const QString& sito, QList<QStringList>& righe);

} // namespace brenk::sql
