// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The session's own texts. A "%n" stands for what the text names.

#include <QString>

namespace brenk {

// The name the guard gives the messages told once an operation is over.
// The site a record names when no parameter file named it.
inline const QString sito_predefinito = QStringLiteral("Impianto");
inline const QString nota_assegnato = QStringLiteral("\"Assegnato a\" registrato per il Codice Brenk %1");
inline const QString nome_avvisi = QStringLiteral("Messaggi");
// The hands-free series: the unit left, and why the series stopped.
inline const QString nota_verificato_prossimo = QStringLiteral(
    "Codice Brenk %1 verificato. Staccare il trasmettitore e collegare il prossimo; \"Disconetti\" termina la serie.");
inline const QString nota_gia_del_sito = QStringLiteral(
    "Trasmettitore già registrato con il Codice Brenk %1: non riprogrammato. Staccarlo e collegare il prossimo.");
inline const QString nota_automatica_ferma =
    QStringLiteral("Serie automatica ferma: controllare il trasmettitore, poi \"Programma\" per continuare.");
inline const QString messaggio_porta_persa =
    QStringLiteral("%1: collegamento con il trasmettitore interrotto. Ricollegare la porta e premere \"Connetti\".");

} // namespace brenk
