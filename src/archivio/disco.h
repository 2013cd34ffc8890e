// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the operator's files need of the disk: only regular files, which
// never block the program, and the reason a file operation failed, in
// Italian where the system says which.

#include <QFileDevice>
#include <QString>

#include <optional>

namespace brenk {

// Why `percorso` names something else than a regular file: a directory, or a
// FIFO or a device, which could block the program. Nothing when it names a
// regular file or nothing yet.
std::optional<QString> non_ordinario(const QString& percorso);
// The same, and `troppo_grande` for a file larger than `massimo`, which is
// not read.
std::optional<QString> non_da_leggere(const QString& percorso, qint64 massimo, const QString& troppo_grande);

// Why the last operation on `file` failed. Call it straight after the
// failure: it reads the system's error number.
QString motivo(const QFileDevice& file);

// Writes `testo` as the whole of `percorso`, or leaves the file as it was;
// the message for the operator, naming the file, when it could not.
std::optional<QString> salva_intero(const QString& percorso, const QByteArray& testo);

} // namespace brenk
