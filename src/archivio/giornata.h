// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A technician's day on site: the rules of the series ("Serie"), in which
// unit after unit gets the site's values and a code of its own, and of the
// record ("Registro") of every programming and factory loading. The window
// tells it what happened and shows what it answers; it knows no widget and
// no port.
//
// A code that has reached a unit (any acknowledged write of a byte that
// carries it, verified or not) is used: the next unit of a series gets the
// next code that no unit has today and the record does not hold, however the
// unit was left. The unit that has it may be programmed again while it stays
// connected; any other unit is refused a code the record holds.

#include "archivio/registro.h"
#include "archivio/valori.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace brenk {

// The transmitter on the line, as the record names it.
struct Unita {
    QString porta;       // "Com n"
    QString dispositivo;
    QString tipo;        // the type label shown
};

// What the window does after an event, in this order: shows `valori` as if
// typed (the band as it was), the note in the progress bar's place, unticks
// "Serie", then tells the messages.
struct Risposta {
    std::optional<Valori> valori{};
    QString nota{};
    bool serie_finita = false;
    QStringList messaggi{};
};

class Giornata {
public:
    void imposta_serie(bool accesa) { serie_ = accesa; }
    bool serie() const { return serie_; }
    // "Registro" on with the file chosen, or off (none). A file that is not a
    // record is not taken: the message says why.
    std::optional<QString> imposta_registro(const std::optional<QString>& percorso);
    const std::optional<QString>& registro() const { return registro_; }

    // "Connetti", the window showing `mostrati`: a unit not left yet (its port
    // vanished) is left first.
    Risposta collegamento(const Valori& mostrati);
    // The connect's read has ended, trusted (and shown) or not.
    Risposta letto(bool attendibile);
    // "Disconetti" or "TX": what the window showed before it was emptied.
    Risposta lasciato(const Valori& mostrati);

    // "Programma" with these values: what to tell instead, when refused.
    std::optional<QString> programmazione(const Valori& mostrati, const Unita& unita);
    // "UHF" or "VHF".
    void fabbrica(const Unita& unita);
    // What the running programming or loading does and tells.
    void inviata(int indirizzo);
    void confermata(int indirizzo);
    void detto(const QString& messaggio);
    void verificata();
    // It has ended, the window showing `mostrati`: its line in the record,
    // when it sent anything; the record's problem to tell, if any.
    std::optional<QString> conclusa(const Valori& mostrati);
    // The program ends under it: its line all the same, as interrupted.
    std::optional<QString> interrotta();

private:
    struct Lavoro {
        Unita unita;
        Valori valori;             // as the window showed them when it began
        std::optional<int> codice; // a programming's; none for a factory loading
        int inviate = 0;
        int confermate = 0;
        std::optional<int> in_volo{}; // sent, its acknowledgement awaited
        bool codice_scritto = false;
        bool verificato = false;
        QStringList detti{};
    };

    void prossimo_codice(int usato, Risposta& r) const;
    std::optional<QString> annota_lavoro(const Lavoro& l, const QString& esito, const Valori& valori) const;

    bool serie_ = false;
    std::optional<QString> registro_;
    std::optional<int> codice_unita_; // the code that reached the unit connected
    QSet<int> usati_;                 // the codes that reached a unit today
    Valori sito_;                     // the window's values when the unit was connected
    std::optional<Lavoro> lavoro_;
};

} // namespace brenk
