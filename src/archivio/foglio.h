// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The handover sheet ("Foglio di consegna"): at the end of a morning, for
// each code the site holds, who carries the unit (or where it is) and
// whether it works, as the alarm-receiving centre needs it. The rows come
// from the record of codes; here they become the CSV's lines, and the
// window's side makes the PDF of them.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace brenk {

// One code of the site, as its last line in the record left it.
struct RigaFoglio {
    int codice = 0;
    QString assegnato_a;
    QString tipo; // "New" or "Old"
    QString banda;
    QString frequenza;
    QString esito;  // the last line's outcome
    QString quando; // the last line's time: "10/12/2026 09:30"
    QString stato;  // "funzionante", "non verificato", "interrotta", "riservato"
};

struct Foglio {
    QString sito;
    QList<RigaFoglio> righe; // by code
};

// The state a sheet shows for a code in state `stato` whose last outcome is `esito`.
QString stato_foglio(const QString& stato, const QString& esito);
QStringList colonne_foglio();
QStringList celle_foglio(const RigaFoglio& riga);
// "Trasmettitori: 3, funzionanti: 1".
QString conteggio_foglio(const QList<RigaFoglio>& righe);
// RFC 4180, the header first, formula cells neutralised as in the record.
QByteArray foglio_csv(const QList<RigaFoglio>& righe);

} // namespace brenk
