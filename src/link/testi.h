// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial port's texts: the name of a port and its failures; %1 is the
// device.

#include <QString>

namespace brenk {

// The name the "Porta" box and the record give port n.
inline const QString nome_com = QStringLiteral("Com %1");
inline const QString porta_nessuna = QStringLiteral("(nessuna)");
inline const QString errore_porta_inesistente = QStringLiteral("Porta seriale inesistente: %1");
inline const QString errore_porta_negata =
    QStringLiteral("Accesso negato alla porta %1 (l'utente deve far parte del gruppo dialout)");
inline const QString errore_porta_in_uso = QStringLiteral("Porta %1 già aperta o in uso");
inline const QString errore_porta_non_aperta = QStringLiteral("Operazione non valida: porta non aperta");
inline const QString errore_porta_scrittura = QStringLiteral("Errore di scrittura sulla porta %1");
inline const QString errore_porta_lettura = QStringLiteral("Errore di lettura sulla porta %1");
inline const QString errore_porta_scollegata = QStringLiteral("Porta %1 scollegata o non più disponibile");
inline const QString errore_porta_impostazione = QStringLiteral("Impostazione non supportata dalla porta %1");
inline const QString errore_porta_tempo = QStringLiteral("Tempo scaduto sulla porta %1");
inline const QString errore_porta_sconosciuto = QStringLiteral("Errore sconosciuto della porta %1");

} // namespace brenk
