// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The record of a site's codes as a database, through Qt SQL: an SQLite file
// on the technician's disk, or a PostgreSQL server a team shares
// ("postgresql://user@host/database"; the password comes from PostgreSQL's
// own places, ~/.pgpass or PGPASSWORD). One schema for both, versioned.
//
// A code is reserved before its first byte goes out, in one transaction with
// the line of the programming that starts; a unique key on (site, code) does
// the guarding, so two configurators racing for one code never both get it.
// A code whose byte was sent stays taken; a reservation whose programming sent
// no code byte is released; one whose program was killed stays, "interrotta".

#include "archivio/foglio.h"
#include "archivio/registro.h"
#include "archivio/valori.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>
#include <variant>

class QSqlError;

namespace brenk {

// The unit on the line as its read showed it before the programming.
struct UnitaLetta {
    QString porta; // "Com n"
    QString dispositivo;
    QString tipo; // "New" or "Old"
    Valori letti; // what the read showed (the band, the code it had)
};

// A programming under way: the line to complete when it ends.
struct Prenotazione {
    QString riga; // the line's key
    int codice = 0;
    bool stesso_trasmettitore = false; // the unit already held this code
};

// What the site holds so far.
struct Riepilogo {
    int trasmettitori = 0;            // codes written
    std::optional<int> ultimo_codice; // the highest written
};

class RegistroCodici {
public:
    // The record at `indirizzo` (a file's path, or a server's address),
    // opened for `sito` and brought to the present schema; a file that does
    // not exist is created. Null, with `problema` for the operator (naming
    // the record), when it cannot be read AND written: unreachable server,
    // locked or read-only file, not a record of ours.
    static std::unique_ptr<RegistroCodici> apri(const QString& indirizzo, const QString& sito, QString& problema);
    ~RegistroCodici();

    // As the operator knows it: a file's name, or the server's address.
    QString nome() const;
    const QString& sito() const { return sito_; }

    // Reserves `codice` for the unit, with the line "programming started" and
    // `inviati`, in one transaction. Refused: the message naming who holds
    // the code (computer, user, when) and how ("scritto", "riservato",
    // "interrotta"), or why the record cannot answer (then nothing may be
    // sent either). A unit whose read matches what the site holds for
    // `codice` (the code and the values written with it) is that unit: it is
    // allowed again ("stesso trasmettitore").
    // `assegnato_a`: the holder or place typed in "Assegnato a", kept with the code.
    std::variant<Prenotazione, QString> riserva(int codice, const UnitaLetta& unita, const Valori& inviati,
                                                const QString& assegnato_a);
    // The programming has ended with `esito`; `codice_scritto`: a byte that
    // carries the code was sent. Without one the reservation is released.
    std::optional<QString> concludi(const Prenotazione& p, const QString& esito, bool codice_scritto);
    // A line without a code: a factory loading.
    std::optional<QString> annota(const RigaRegistro& riga);

    // The first code after `dopo` that the site does not hold; none after 1023.
    std::optional<int> prossimo_libero(int dopo);
    // Whether the site holds `codice` for a unit (written, reserved or interrupted).
    bool occupato(int codice);
    // Whether the unit whose read shows `letti` is one the site holds: it
    // carries a code of the site and the values written with it.
    bool tiene(const Valori& letti);
    // The unit whose read shows `letti` is the one written with `codice` and
    // `scritti`: a factory-fresh unit never passes for one.
    static bool stesso_trasmettitore(int codice, const Valori& letti, const Valori& scritti);
    Riepilogo riepilogo();
    // "Assegnato a": the holder or place of a code already written.
    std::optional<QString> assegna(int codice, const QString& a_chi);
    QString assegnato(int codice);

    // The site's lines as the CSV of a record (RFC 4180, formula cells
    // neutralised); the message naming the file when it cannot be written.
    std::optional<QString> esporta_csv(const QString& percorso);
    // The handover sheet's rows: every code the site holds, with its last
    // line's outcome; the message naming the record when it cannot answer.
    std::variant<Foglio, QString> foglio();

private:
    friend QString importa_csv(const QString& csv, QString& database);

    RegistroCodici(QString connessione, QString nome, QString sito);
    // The driver's reason, for the operator, naming the record.
    QString errore(const QSqlError& e) const;
    std::optional<QString> segna_interrotte();
    // The code's row, then the programming's line, in one transaction.
    std::optional<QSqlError> con_riga(const QString& testo, const QVariantList& valori, const QString& id,
                                      const QStringList& celle);
    static bool stesso_trasmettitore(int codice, const Valori& letti, const QString& scritti);
    std::variant<Prenotazione, QString> gia_preso(int codice, const UnitaLetta& unita, const Valori& inviati,
                                                  const QSqlError& perche);
    QString connessione_;
    QString indirizzo_; // as the operator knows it: never a password
    QString sito_;
};

// An older CSV record, imported into a new SQLite record beside it (same
// name, ".sqlite"): every line with a code counts, quoted line breaks,
// quoted cells, a trailing empty cell, CRLF or LF, a byte-order mark, a last
// line without a line break. The message for the operator says so, naming
// any line it could not read; `database` is the new record's path, empty
// when nothing could be imported (the CSV unreadable, or not a record).
QString importa_csv(const QString& csv, QString& database);

} // namespace brenk
