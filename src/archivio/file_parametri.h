// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Parameter files (".brenk"): what the window shows, as JSON text with a
// format version, and, when it came from a trusted read of the connection,
// the bytes that read found, kept for the record only.

#include "archivio/valori.h"
#include "params/blocco.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace brenk {

inline constexpr int versione_file_parametri = 1;
// Far more than any parameter file; anything larger is not one, and is not read.
inline constexpr qint64 dimensione_massima_parametri = 1024 * 1024;
inline const QString estensione_parametri = QStringLiteral("brenk");

struct FileParametri {
    Valori valori;
    QString tipo; // the type label shown
    std::optional<Letti> letti;
};

QByteArray in_json(const FileParametri& parametri);
// The problem, in the operator's words, when `testo` is not a parameter file
// this program can open; otherwise `parametri` holds it.
std::optional<QString> da_json(const QByteArray& testo, FileParametri& parametri);

// The message for the operator, naming the file, when it cannot be read or is
// not one of ours; otherwise `parametri` holds it and nothing else has
// changed. Only a regular file is opened, so nothing here can block.
std::optional<QString> apri_parametri(const QString& percorso, FileParametri& parametri);
// Replaces the file whole or not at all: a failure leaves a file that was
// there as it was, and nothing new. The message, naming the file, when it
// could not.
std::optional<QString> salva_parametri(const QString& percorso, const FileParametri& parametri);

} // namespace brenk
