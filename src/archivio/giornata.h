// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A technician's day on site: the rules of the series ("Serie"), in which
// unit after unit gets the site's values and a code of its own, and of the
// record ("Registro") of every programming and factory loading. The session
// tells it what happened on the line and shows what it answers; it knows no
// widget and no port.
//
// A code that may have reached a unit (any byte that carries it was sent,
// acknowledged or not, verified or not) is used: the next unit of a series
// gets the next code that no unit has today and the record does not hold,
// however the unit was left. The unit that has it may be programmed again,
// also connected anew (its read shows the code and the values written with
// it); any other unit is refused it.

#include "archivio/registro_codici.h"
#include "archivio/valori.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace brenk {

// The transmitter on the line, as the record names it.
struct Unita {
    QString porta; // "Com n"
    QString dispositivo;
    QString tipo; // "New" or "Old", as the block's type reads
};

// What the window does after an event, in this order: shows `valori` as if
// typed (the band as it was) and `codice` in "Codice Brenk", the note in the
// progress bar's place, unticks "Serie", then tells the messages.
struct Risposta {
    std::optional<Valori> valori{};
    std::optional<QString> codice{};
    QString nota{};
    bool serie_finita = false;
    QStringList messaggi{};
};

class Giornata {
public:
    Giornata();
    ~Giornata();
    // "Serie" on or off. With a record, a series picks up where the site is:
    // the code box gets the next free code after the highest one written.
    Risposta imposta_serie(bool accesa);
    bool serie() const { return serie_; }
    // "Registro" on with the record at `indirizzo` (a file or a server) for
    // the site `sito`, or off (none). A record that cannot be read and
    // written is not taken: the message says why. An older CSV record is
    // imported into a new one beside it, and the message says so.
    Risposta imposta_registro(const std::optional<QString>& indirizzo, const QString& sito);
    bool registro() const { return registro_ != nullptr; }
    // The record as the operator knows it (a file's name, a server), and
    // what the site holds ("12 trasmettitori, ultimo codice 312"); empty
    // without a record.
    QString nome_registro() const;
    QString riepilogo() const;
    // "Assegnato a": kept with the next code written; for a code already
    // written, corrected.
    void imposta_assegnato(const QString& a_chi) { assegnato_a_ = a_chi; }
    std::optional<QString> assegna(int codice, const QString& a_chi);
    // The record holds `codice` for a unit.
    bool occupato(int codice) const { return registro_ && registro_->occupato(codice); }
    std::optional<QString> esporta_csv(const QString& percorso);
    // The handover sheet of the site; without a record, none.
    std::variant<Foglio, QString> foglio();

    // "Connetti", the window showing `mostrati`: a unit not left yet (its port
    // vanished) is left first.
    Risposta collegamento(const Valori& mostrati);
    // The connect's read has ended, trusted (and shown: `mostrati`) or not.
    // A series begun on an empty window takes the first read as the site's.
    Risposta letto(bool attendibile, const Valori& mostrati);
    // "Disconetti" or "TX": what the window showed before it was emptied.
    Risposta lasciato(const Valori& mostrati);
    // The code that may have reached the unit connected.
    std::optional<int> codice_unita() const { return codice_unita_; }
    // The unit the last trusted read showed is one the record holds: the
    // code it carries.
    std::optional<int> del_sito() const;

    // A programming is about to send `codice` with `inviati`: what to tell
    // instead, when refused.
    std::optional<QString> programmazione(int codice, const Valori& inviati, const Unita& unita);
    // "UHF" or "VHF", about to send the factory block holding `inviati`.
    void fabbrica(const Unita& unita, const Valori& inviati);
    // What the running programming or loading sends, has acknowledged and
    // tells.
    void inviata(int indirizzo);
    void confermata(int indirizzo);
    void detto(const QString& messaggio);
    void verificata();
    // It has ended: its line in the record, with what it sent, when it sent
    // anything; the record's problem to tell, if any.
    std::optional<QString> conclusa();
    // The program ends under it, once the exchange in flight is over
    // (`confermata_in_volo`: with the write's acknowledgement): its line all
    // the same, as interrupted.
    std::optional<QString> interrotta(bool confermata_in_volo);
    // The program ends: the lines the record could not take (kept in memory
    // since, and tried again at each end of a unit) go to a CSV file in
    // `cartella`; the message naming it.
    std::optional<QString> salva_sospese(const QString& cartella);

private:
    struct Lavoro {
        Unita unita;
        Valori valori;             // what it sends
        std::optional<int> codice; // a programming's; none for a factory loading
        int inviate = 0;
        int confermate = 0;
        bool in_volo = false; // a write sent, its acknowledgement awaited
        bool codice_scritto = false;
        bool verificato = false;
        QStringList detti{};
        std::optional<Prenotazione> prenotazione{}; // the code reserved in the record
    };

    void prossimo_codice(int usato, Risposta& r) const;
    std::optional<int> libero_dopo(int usato) const;
    Risposta ripresa() const;
    std::optional<QString> rifiuto(int codice) const;
    void raggiunta(int codice);
    std::optional<QString> annota_lavoro(const Lavoro& l, const QString& esito);
    // A line for the record: the reserved one completed, or a new one.
    struct Sospesa {
        std::optional<Prenotazione> prenotazione;
        RigaRegistro riga;
    };
    std::optional<QString> scrivi(const Sospesa& s);
    void riprova();

    bool serie_ = false;
    std::unique_ptr<RegistroCodici> registro_;
    QString assegnato_a_;
    Valori letti_;                    // what the unit connected holds, as its read showed it
    std::optional<int> codice_unita_; // the code that reached the unit connected
    QSet<int> usati_;                 // the codes that reached a unit today
    QHash<int, Valori> scritti_;      // ...by a programming: the values sent with them
    Valori sito_;                     // the window's values when the unit was connected
    std::optional<Lavoro> lavoro_;
    QList<Sospesa> sospese_; // lines the record could not take yet
};

} // namespace brenk
