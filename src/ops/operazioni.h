// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The device operations the main window's buttons start. Each reads like
// the exchange it performs; waits suspend it (see link/porta_seriale.h).

#include "ops/contesto.h"
#include "params/fabbrica.h"

#include <QString>

namespace brenk {

inline const QString stato_non_connesso = QStringLiteral(" Non Connesso");
inline const QString stato_in_attesa = QStringLiteral(" In Attesa ");
inline const QString stato_connesso = QStringLiteral(" Connesso");

inline const QString messaggio_porta_guasta = QStringLiteral("Porta seriale Guasta o Mancante");
inline const QString messaggio_time_out = QStringLiteral("Errore TIME OUT   ");
inline const QString messaggio_errore_lettura = QStringLiteral("Errore di Lettura nei Parametri, Riprovare ");
inline const QString messaggio_codice = QStringLiteral("Errore Codice Brenk - Zelm  Fuori Range (1 - 1023)");
// A writing left unverified is told, then what to do (`ripetere` or
// `ripetere_dai_campi` in place of %1).
inline const QString messaggio_verifica_interrotta =
    QStringLiteral("Verifica non eseguita: la porta si è chiusa durante la rilettura. %1");
inline const QString messaggio_scrittura_disturbata =
    QStringLiteral("Comunicazione disturbata: il trasmettitore potrebbe contenere valori errati. %1");
inline const QString ripetere = QStringLiteral("Ripetere la programmazione.");
inline const QString ripetere_dai_campi =
    QStringLiteral("I valori da programmare sono ancora nella finestra: ripetere la programmazione.");
inline const QString messaggio_discordanza = QStringLiteral(
    "Programmazione non eseguita: \"%1\" mostra %2, ma il trasmettitore conterrebbe %3. "
    "Inserire il valore da programmare.");
inline const QString messaggio_senza_lettura = QStringLiteral(
    "Programmazione non eseguita: manca una lettura valida dei parametri. Disconnettere e connettere di nuovo "
    "il trasmettitore per rileggerli, poi programmare.");
inline const QString messaggio_telegrammi = QStringLiteral(
    "I telegrammi radio letti non sono validi: un ricevitore non accetterebbe gli allarmi di questo trasmettitore. "
    "Caricare i valori di fabbrica (UHF o VHF) o programmare il trasmettitore.");
inline const QString messaggio_senza_scelta = QStringLiteral(
    "Programmazione non eseguita: \"%1\" non mostra nessuna scelta. Scegliere un'opzione.");
inline const QString nota_trasmettitore_muto =
    QStringLiteral("Il trasmettitore non risponde. \"Disconetti\" termina l'attesa.");
inline const QString nota_ottavo_bit =
    QStringLiteral("Nessun valore letto supera 127: verificare che l'adattatore non perda l'ottavo bit.");
inline const QString messaggio_tx_non_avviata = QStringLiteral("Trasmissione di prova non avviata: %1");

// "Connetti": open the port, wait for "K", answer "L", read the parameters.
// Any port error ends on the error path with its two messages.
Task<void> connetti(Contesto& c);

// "Disconetti" and leaving (letter 'E'): the letter if the port is open,
// " Non Connesso", close the port, empty the parameter fields.
void congeda(Contesto& c, char lettera);

// "TX": the same with the letter 'Q'; a port that cannot take it (the device
// is gone) is told, as no transmission started.
Task<void> trasmissione_di_prova(Contesto& c);

// Reads addresses 0 to 62, again while the read is doubtful, and shows a
// read that can be trusted; when none can, the read-error message and
// nothing shown. Throws ErrorePorta when the port closes under it.
Task<void> leggi_parametri(Contesto& c);

// "Programma": only over a trusted read of this connection; checks, builds
// and writes the block, then reads it back and verifies it.
Task<void> programma(Contesto& c);

// "UHF" / "VHF": writes the factory block, then reads it back and verifies it.
Task<void> carica_fabbrica(Contesto& c, Banda banda);

// Empties the ten parameter fields in their order.
void svuota_campi(Finestra& finestra);

} // namespace brenk
