// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The texts the operator reads, written out here as the operator sees them,
// blanks included, so that any change of wording in the program shows up as
// a failing test.

#include <QString>

namespace brenk::prova::atteso {

inline const QString non_connesso = QStringLiteral(" Non Connesso");
inline const QString in_attesa = QStringLiteral(" In Attesa ");
inline const QString connesso = QStringLiteral(" Connesso");

inline const QString time_out = QStringLiteral("Errore TIME OUT   ");
// "Disconetti" pressed during the writes, after `confermate` acknowledged ones.
inline QString interrotta(int confermate)
{
    return QStringLiteral("Interrotta da Disconetti dopo %1 scritture confermate").arg(confermate);
}
inline const QString errore_lettura = QStringLiteral("Errore di Lettura nei Parametri, Riprovare ");
inline const QString porta_guasta = QStringLiteral("Porta seriale Guasta o Mancante");
inline const QString codice = QStringLiteral("Errore Codice Brenk - Zelm  Fuori Range (1 - 1023)");
inline const QString fuori_range = QStringLiteral("Frequenza TX fuori range!");
inline const QString fuori_banda = QStringLiteral("Frequenza Fuori Banda !");
// The confirmation of a writing read back up to `ultimo`.
inline QString verificato(int ultimo)
{
    return QStringLiteral("Verificato: gli indirizzi 0 - %1 contengono i valori scritti").arg(ultimo);
}
// As a programming ends them; a factory loading ends with "Ripetere la
// programmazione." instead.
inline const QString verifica_interrotta = QStringLiteral(
    "Verifica non eseguita: la porta si è chiusa durante la rilettura. I valori da programmare "
    "sono ancora nella finestra: ripetere la programmazione.");
inline const QString scrittura_disturbata = QStringLiteral(
    "Comunicazione disturbata: il trasmettitore potrebbe contenere valori errati. I valori da "
    "programmare sono ancora nella finestra: ripetere la programmazione.");
inline const QString senza_lettura = QStringLiteral(
    "Programmazione non eseguita: manca una lettura valida dei parametri. Disconnettere e connettere di nuovo "
    "il trasmettitore per rileggerli, poi programmare.");
inline const QString nota_ottavo_bit =
    QStringLiteral("nota: Nessun valore letto supera 127: verificare che l'adattatore non perda l'ottavo bit.");
inline const QString telegrammi = QStringLiteral(
    "I telegrammi radio letti non sono validi: un ricevitore non accetterebbe gli allarmi di questo trasmettitore. "
    "Caricare i valori di fabbrica (UHF o VHF) o programmare il trasmettitore.");

} // namespace brenk::prova::atteso
