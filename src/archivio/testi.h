// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The operator's files' texts: the day's rules of series and record, the
// record's columns and words, the parameter files' problems and the disk's.
// A "%n" stands for what the text names.

#include <QString>

namespace brenk {

// ---- The day: the series and the record's outcomes ----

inline const QString nota_serie =
    QStringLiteral("Serie: trasmettitore letto; la finestra mantiene i valori da programmare");
inline const QString messaggio_codice_registrato = QStringLiteral(
    "Programmazione non eseguita: il Codice Brenk %1 è già nel registro \"%2\" per un altro trasmettitore.");
inline const QString messaggio_codice_usato = QStringLiteral(
    "Programmazione non eseguita: il Codice Brenk %1 è già stato scritto oggi in un altro trasmettitore.");
inline const QString riga_in_sospeso =
    QStringLiteral("La riga resta in memoria e sarà scritta appena il registro risponde.");
inline const QString file_sospese = QStringLiteral("registro-in-sospeso.csv");
inline const QString messaggio_sospese =
    QStringLiteral("Il registro non ha risposto: le sue righe in sospeso sono nel file \"%1\".");
inline const QString testo_riepilogo = QStringLiteral("%1 trasmettitori, ultimo codice %2");
inline const QString messaggio_fine_serie = QStringLiteral("Serie terminata: nessun Codice Brenk libero dopo %1.");
inline const QString esito_non_verificato = QStringLiteral("Non verificato");
inline const QString esito_interrotto =
    QStringLiteral("Interrotta all'uscita dal programma dopo %1 scritture confermate");
inline const QString esito_verificato = QStringLiteral("Verificato");

// ---- The operator's files and the record ----

inline const QString problema_registro = QStringLiteral("Registro \"%1\": %2.");
inline const QString riga_non_scritta =
    QStringLiteral("riga non scritta (%1); l'esito dell'operazione resta quello mostrato");
inline const QString formato_piu_recente =
    QStringLiteral("il formato %1 è più recente di questo programma, che legge fino al formato %2");
inline const QString non_un_registro = QStringLiteral("non è un registro di questa versione del configuratore");
inline const QString registro_punto_e_virgola =
    QStringLiteral("è un registro salvato con il punto e virgola come separatore: salvarlo di nuovo con la virgola");
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

// ---- The record as a database: the codes of a site ----

inline const QString stato_riservato = QStringLiteral("riservato");
inline const QString stato_scritto = QStringLiteral("scritto");
inline const QString stato_interrotta = QStringLiteral("interrotta");
inline const QString esito_in_corso = QStringLiteral("In corso");
inline const QString codice_in_uso = QStringLiteral(
    "Programmazione non eseguita: il Codice Brenk %1 del sito \"%2\" è già in uso (%3) dal %4, computer \"%5\", "
    "utente \"%6\".");
inline const QString codice_non_registrato = QStringLiteral("il Codice Brenk %1 non è nel registro del sito \"%2\"");
inline const QString non_registro_codici = QStringLiteral("non è un registro dei codici del configuratore");
inline const QString indirizzo_non_valido =
    QStringLiteral("indirizzo non valido: un percorso, oppure postgresql://utente@server/database");
inline const QString registro_sola_lettura = QStringLiteral("il file o la sua cartella è in sola lettura");
inline const QString csv_importato =
    QStringLiteral("%1 righe del registro \"%2\" importate nel nuovo registro \"%3\".");
inline const QString csv_gia_importato = QStringLiteral("Il registro \"%1\" è già stato importato in \"%2\".");
inline const QString righe_non_lette = QStringLiteral(" Righe non lette: %1.");

// ---- The handover sheet ----

inline const QString stato_funzionante = QStringLiteral("funzionante");
inline const QString stato_non_verificato = QStringLiteral("non verificato");
inline const QString colonna_assegnato = QStringLiteral("Assegnato a");
inline const QString colonna_stato = QStringLiteral("Stato");
inline const QString conteggio_trasmettitori = QStringLiteral("Trasmettitori: %1, funzionanti: %2");

} // namespace brenk
