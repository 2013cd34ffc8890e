// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every text the operator reads that the code sets: the status, the
// messages, the notes, the tips, the help line and the words of the files.
// A "%n" stands for what the text names.

#include <QString>

namespace brenk {

// ---- Status and the type label ----

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
// The name the guard gives the messages told once an operation is over.
inline const QString nome_avvisi = QStringLiteral("Messaggi");
inline const QString messaggio_tx_non_avviata = QStringLiteral("Trasmissione di prova non avviata: %1");

inline const QString messaggio_fuori_range = QStringLiteral("Frequenza TX fuori range!");
inline const QString messaggio_fuori_banda = QStringLiteral("Frequenza Fuori Banda !");
inline const QString errore_com = QStringLiteral(" Errore com");

inline const QString nota_serie = QStringLiteral("Serie: trasmettitore letto; la finestra mantiene i valori da programmare");
inline const QString messaggio_codice_registrato = QStringLiteral(
    "Programmazione non eseguita: il Codice Brenk %1 è già nel registro \"%2\" per un altro trasmettitore.");
inline const QString messaggio_fine_serie = QStringLiteral("Serie terminata: nessun Codice Brenk libero dopo %1.");
inline const QString esito_non_verificato = QStringLiteral("Non verificato");
inline const QString esito_interrotto =
    QStringLiteral("Interrotta all'uscita dal programma dopo %1 scritture confermate");
inline const QString messaggio_interrotta_da_disconetti =
    QStringLiteral("Interrotta da Disconetti dopo %1 scritture confermate");
inline const QString messaggio_codice_usato = QStringLiteral(
    "Programmazione non eseguita: il Codice Brenk %1 è già stato scritto oggi in un altro trasmettitore.");
inline const QString messaggio_porta_persa = QStringLiteral(
    "%1: collegamento con il trasmettitore interrotto. Ricollegare la porta e premere \"Connetti\".");
inline const QString esito_verificato = QStringLiteral("Verificato");

// ---- The status, the type and the band as the fields show them ----

inline const QString testo_banda_uhf = QStringLiteral("  UHF");
inline const QString testo_banda_vhf = QStringLiteral("  VHF");
inline const QString tipo_letto_nuovo = QStringLiteral("New");
inline const QString tipo_letto_vecchio = QStringLiteral("Old");

// ---- The operations' messages ----

inline const QString messaggio_verifica_fallita = QStringLiteral("Verifica fallita: %1 scritto %2, letto %3. %4");
inline const QString conferma_verificato = QStringLiteral("Verificato: gli indirizzi 0 - %1 contengono i valori scritti");
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

// ---- The serial port's failures; %1 is the device ----

// The name the "Porta" box and the record give port n.
inline const QString nome_com = QStringLiteral("Com %1");
inline const QString porta_nessuna = QStringLiteral("(nessuna)");
inline const QString errore_porta_inesistente = QStringLiteral("Porta seriale inesistente: %1");
inline const QString errore_porta_negata = QStringLiteral("Accesso negato alla porta %1 (l'utente deve far parte del gruppo dialout)");
inline const QString errore_porta_in_uso = QStringLiteral("Porta %1 già aperta o in uso");
inline const QString errore_porta_non_aperta = QStringLiteral("Operazione non valida: porta non aperta");
inline const QString errore_porta_scrittura = QStringLiteral("Errore di scrittura sulla porta %1");
inline const QString errore_porta_lettura = QStringLiteral("Errore di lettura sulla porta %1");
inline const QString errore_porta_scollegata = QStringLiteral("Porta %1 scollegata o non più disponibile");
inline const QString errore_porta_impostazione = QStringLiteral("Impostazione non supportata dalla porta %1");
inline const QString errore_porta_tempo = QStringLiteral("Tempo scaduto sulla porta %1");
inline const QString errore_porta_sconosciuto = QStringLiteral("Errore sconosciuto della porta %1");

// ---- The windows ----

inline const QString suggerimento_cifre = QStringLiteral("Solo cifre: %1 - %2");
inline const QString unita_secondi = QStringLiteral(" S");
inline const QString suggerimento_frequenza = QStringLiteral("Frequenza in MHz con il punto: 433.525");
inline const QString etichetta_versione = QStringLiteral("Version  \"" BRENK_VERSIONE "\"");
inline const QString titolo_applicazione = QStringLiteral("Brenk_zelm");
inline const QString fabbrica = QStringLiteral("Fabbrica");

// ---- The operator's files and the record ----

inline const QString titolo_file_parametri = QStringLiteral("Parametri Brenk");
inline const QString titolo_file_registro = QStringLiteral("Registro");
inline const QString problema_registro = QStringLiteral("Registro \"%1\": %2.");
inline const QString riga_non_scritta =
    QStringLiteral("riga non scritta (%1); l'esito dell'operazione resta quello mostrato");
inline const QString formato_piu_recente =
    QStringLiteral("il formato %1 è più recente di questo programma, che legge fino al formato %2");
inline const QString non_un_registro = QStringLiteral("non è un registro di questa versione del configuratore");
inline const QString registro_troppo_grande = QStringLiteral("è troppo grande per essere un registro");
inline const QString colonna_codice_scritto = QStringLiteral("Codice scritto");
inline const QString parola_si = QStringLiteral("si");
inline const QString parola_no = QStringLiteral("no");
inline const QString non_file_ordinario = QStringLiteral("non è un file ordinario");
inline const QString disco_pieno = QStringLiteral("il disco è pieno");
inline const QString permesso_negato = QStringLiteral("permesso negato");
inline const QString disco_sola_lettura = QStringLiteral("il disco è in sola lettura");
inline const QString file_inesistente = QStringLiteral("il file o la cartella non esiste");
inline const QString colonna_data = QStringLiteral("Data e ora");
inline const QString colonna_porta = QStringLiteral("Porta");
inline const QString colonna_dispositivo = QStringLiteral("Dispositivo");
inline const QString colonna_tipo = QStringLiteral("Tipo");
inline const QString problema_file = QStringLiteral("Impossibile %1 il file \"%2\": %3.");
inline const QString manca_valore = QStringLiteral("manca il valore di \"%1\"");
inline const QString valore_non_valido = QStringLiteral("valore non valido in \"%1\"");
inline const QString lettura_non_valida = QStringLiteral("la lettura registrata non è valida");
inline const QString azione_aprire = QStringLiteral("aprire");
inline const QString azione_salvare = QStringLiteral("salvare");
inline const QString file_troppo_grande = QStringLiteral("è troppo grande per essere un file di parametri");
inline const QString valore_fuori_range_file = QStringLiteral("valore fuori range in \"%1\": \"%2\"");
inline const QString colonna_esito = QStringLiteral("Esito");
inline const QString non_nostro = QStringLiteral("non è un file di parametri del configuratore");
inline const QString titolo_sinistra = QStringLiteral("Sistemi di Allarme Personale    Assistenza Tecnica");
inline const QString titolo_destra = QStringLiteral("Brenk  Versione ZeduRuzozudovav");

// ---- The command line (standard error) ----

inline const QString descrizione_programma = QStringLiteral(
    "Configuratore del trasmettitore radio di allarme Brenk: legge, modifica e\n"
    "programma i suoi parametri sulla porta seriale.");
inline const QString argomento_inatteso = QStringLiteral("argomento inatteso '%1'.");
inline const QString schermo_muto = QStringLiteral(
    "nessuno schermo su cui aprire la finestra (lo schermo indicato non risponde)");
inline const QString schermo_assente = QStringLiteral(
    "nessuno schermo su cui aprire la finestra (DISPLAY e WAYLAND_DISPLAY non impostati)");

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
