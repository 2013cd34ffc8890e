// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The handover sheet on paper: an A4 PDF in Italian, made with Qt's own
// QPdfWriter and QTextDocument, and the same rows as CSV beside it.

#include "archivio/foglio.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

namespace brenk {

// The sheet of `foglio` on `giorno`, made on the computer `computer`.
QByteArray foglio_pdf(const Foglio& foglio, QDate giorno, const QString& computer);
// The CSV beside `pdf`: the same name, ".csv".
QString percorso_csv(const QString& pdf);
// Writes the PDF at `pdf`, today's, on this computer, and the CSV beside it;
// the message naming the file that could not be written.
std::optional<QString> scrivi_foglio(const Foglio& foglio, const QString& pdf);

} // namespace brenk
