// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The windows' texts: what the main window and TITOLO show of their own,
// the file dialogs' titles, the command line's words and the help line with
// the names of its areas. A "%n" stands for what the text names.

#include <QString>

namespace brenk {

// ---- The windows ----

inline const QString suggerimento_cifre = QStringLiteral("Solo cifre: %1 - %2");
inline const QString unita_secondi = QStringLiteral(" S");
inline const QString suggerimento_frequenza = QStringLiteral("Frequenza in MHz con il punto: 433.525");
inline const QString etichetta_versione = QStringLiteral("Version  \"" BRENK_VERSIONE "\"");
inline const QString titolo_applicazione = QStringLiteral("Brenk_zelm");
inline const QString fabbrica = QStringLiteral("Fabbrica");
inline const QString errore_com = QStringLiteral(" Errore com");
inline const QString titolo_file_parametri = QStringLiteral("Parametri Brenk");
inline const QString titolo_file_registro = QStringLiteral("Registro");
// The file label once the window no longer shows the file's values.
inline const QString file_non_in_finestra = QStringLiteral("%1 (valori cambiati)");
inline const QString titolo_esporta = QStringLiteral("Registro in CSV");
inline const QString titolo_foglio = QStringLiteral("Foglio di consegna");
inline const QString foglio_sito = QStringLiteral("Sito");
inline const QString foglio_data = QStringLiteral("Data");
inline const QString foglio_computer = QStringLiteral("Computer del tecnico");
inline const QString foglio_pagina = QStringLiteral("Pagina %1 di %2");
inline const QString firma_tecnico = QStringLiteral("Firma del tecnico");
inline const QString firma_responsabile = QStringLiteral("Firma del responsabile");
inline const QString titolo_sinistra = QStringLiteral("Sistemi di Allarme Personale    Assistenza Tecnica");
inline const QString titolo_guida = QStringLiteral("Brenk_zelm - Guida");
inline const QString titolo_destra = QStringLiteral("Brenk  Versione ZeduRuzozudovav");

// ---- The command line (standard error) ----

inline const QString descrizione_programma = QStringLiteral(
    "Configuratore del trasmettitore radio di allarme Brenk: legge, modifica e\n"
    "programma i suoi parametri sulla porta seriale.");
inline const QString opzione_registro =
    QStringLiteral("Il registro dei codici: un file (SQLite) o un server, postgresql://utente@host/database.");
inline const QString argomento_inatteso = QStringLiteral("argomento inatteso '%1'.");
inline const QString schermo_muto =
    QStringLiteral("nessuno schermo su cui aprire la finestra (lo schermo indicato non risponde)");
inline const QString schermo_assente =
    QStringLiteral("nessuno schermo su cui aprire la finestra (DISPLAY e WAYLAND_DISPLAY non impostati)");

// ---- The help line: the text of each area of the main window ----

struct VoceAiuto {
    const char* area;
    const char* testo;
};

// Texts are UTF-8; each begins with one blank.
inline constexpr VoceAiuto voci_aiuto[] = {
    {"Frame1", " Inserire il Codice dello Brenk (Renge 1 - 1023)"},
    {"Frame2", " Inserire la frequenza di Tx Vhf o Uhf secondo la Banda (es. 160.9125 - 440.9125)"},
    {"Frame3", " Inserire il Tempo di preallarme Rapina espresso in sec (Range 1 - 255 sec)"},
    {"Frame4", " Inserire il Tempo di preallarme Dell'Antiatterramento espresso in sec (Range 1 - 255 sec)"},
    {"Frame5", " Inserire su quale ingresso deve inviare l'allarme Rapina e Antiatteramento"},
    {"Frame6", " Inserire quante volte deve ripetere lo stesso pacchetto digitale"},
    {"Frame10", " Setup Com seleziona la porta di comunicazione seriale "},
    {"Frame11", " Stato di Connessione ,indica se la connessione e attiva o disattiva tra PC e BRENK"},
    {"Frame15", " Seleziona se deve Trasmettere come Zelm a 2 ing o come Brenk"},
    {"Frame17", " Tempo del Pulsante A che rimane premuto per inviare l'Allarme"},
    {"batteria_scarica", " Ripristina L'ingresso di Allarme"},
    {"toni_h_l", " Toni H/L se impostato ALTI verso Centrale o via BIDI REP ripetuto, BASSI via BIDI REP"},
    {"tx_s_m", " Se impostato SING effetua una sola trasmis., se Mult effetua X Trasmis. impostate in N°di Tx Tot"},
    {"Frame19",
     " I parametri dell'impianto in un file, la programmazione in serie e il registro dei trasmettitori programmati"},
    {"Cmd_apri", " Apri: mette nella finestra i valori di un file di parametri, da trasferire con Programma (Ctrl+O)"},
    {"Cmd_salva", " Salva: scrive i valori della finestra in un file di parametri (Ctrl+S)"},
    {"Chk_serie", " Serie (Alt+S): Connetti e Disconetti mantengono i valori, "
                  "ogni programmazione verificata passa al codice seguente"},
    {"Chk_registro",
     " Registro (Alt+R): aggiunge al file indicato una riga per ogni programmazione e inizializzazione"},
    {"Image1", " Sistemi di Allarme Personale - Assistenza Tecnica"},
    {"Label7", " Configuratore Per Brenk Versione " BRENK_VERSIONE " - Reparto Software"},
};

} // namespace brenk
