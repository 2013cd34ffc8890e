// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The operations' texts: the status, the messages and notes of connecting,
// reading, programming and verifying, and the names a verification gives
// the addresses. A "%n" stands for what the text names.

#include "params/campi.h"

#include <QString>

namespace brenk {

// ---- The status and the type label ----

inline const QString stato_non_connesso = QStringLiteral(" Non Connesso");
inline const QString stato_in_attesa = QStringLiteral(" In Attesa ");
inline const QString stato_connesso = QStringLiteral(" Connesso");
inline const QString tipo_letto_nuovo = QStringLiteral("New");
inline const QString tipo_letto_vecchio = QStringLiteral("Old");

// ---- What connecting, reading and programming tell ----

inline const QString messaggio_porta_guasta = QStringLiteral("Porta seriale Guasta o Mancante");
inline const QString messaggio_time_out = QStringLiteral("Errore TIME OUT   ");
inline const QString messaggio_interrotta_da_disconetti =
    QStringLiteral("Interrotta da Disconetti dopo %1 scritture confermate");
inline const QString messaggio_errore_lettura = QStringLiteral("Errore di Lettura nei Parametri, Riprovare ");
// The range is the table's.
inline const QString messaggio_codice = QStringLiteral("Errore Codice Brenk - Zelm  Fuori Range (%1)")
                                            .arg(testo_intervallo(scheda(Campo::CodiceBrenk).valori));
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
inline const QString messaggio_senza_scelta =
    QStringLiteral("Programmazione non eseguita: \"%1\" non mostra nessuna scelta. Scegliere un'opzione.");
inline const QString nota_in_attesa = QStringLiteral(
    "Nessun trasmettitore su %1 (%2): accenderlo e controllare il cavo. \"Disconetti\" termina l'attesa.");
inline const QString nota_trasmettitore_muto =
    QStringLiteral("Il trasmettitore non risponde. \"Disconetti\" termina l'attesa.");
inline const QString nota_ottavo_bit =
    QStringLiteral("Nessun valore letto supera 127: verificare che l'adattatore non perda l'ottavo bit.");
inline const QString messaggio_errore_imprevisto = QStringLiteral(
    "Operazione \"%1\" interrotta da un errore imprevisto. Riprovare; se l'errore si ripete, riavviare il programma.");
inline const QString riga_errore_imprevisto =
    QStringLiteral("brenk-zelm: operazione \"%1\" interrotta da un errore imprevisto: %2");
inline const QString riga_errore_sfuggito = QStringLiteral("brenk-zelm: errore imprevisto non mostrato: %1");
inline const QString messaggio_tx_non_avviata = QStringLiteral("Trasmissione di prova non avviata: %1");

inline const QString messaggio_fuori_range = QStringLiteral("Frequenza TX fuori range!");
inline const QString messaggio_fuori_banda = QStringLiteral("Frequenza Fuori Banda !");

// ---- The operations' messages ----

inline const QString messaggio_verifica_fallita = QStringLiteral("Verifica fallita: %1 scritto %2, letto %3. %4");
inline const QString conferma_verificato =
    QStringLiteral("Verificato: gli indirizzi 0 - %1 contengono i valori scritti");
inline const QString messaggio_valore_fuori_range = QStringLiteral("Valore fuori range in \"%1\" (%2)");
inline const QString intervallo_byte = QStringLiteral("0 - 255");
inline const QString eccezione_sconosciuta = QStringLiteral("eccezione sconosciuta");

// ---- How the verification names an address that is not a field's or a pair's ----

inline const QString nome_telegramma_allarme = QStringLiteral("telegramma di allarme");
inline const QString nome_telegramma_ripristino = QStringLiteral("telegramma di ripristino");
inline const QString nome_tipo = QStringLiteral("tipo New/Old");
inline const QString nome_somma_di_controllo = QStringLiteral("somma di controllo");
inline const QString nome_per_indirizzo = QStringLiteral("indirizzo %1");
inline const QString nome_con_indirizzo = QStringLiteral("\"%1\" (indirizzo %2)");

} // namespace brenk
