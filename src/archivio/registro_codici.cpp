// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/registro_codici.h"

#include "archivio/disco.h"
#include "archivio/registro_sql.h"
#include "archivio/testi.h"

#include <QUuid>

namespace brenk {

namespace {

QSqlDatabase base(const QString& connessione)
{
    return QSqlDatabase::database(connessione, false);
}

QString nuovo_id()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// The values as the tables keep them with a code.
QString testo_valori(const Valori& v)
{
    return sql::testo_valori(celle_registro({QDateTime(), {}, {}, {}, {}, false, v}));
}

// The line of a programming that starts.
QStringList riga_iniziata(const UnitaLetta& unita, const Valori& inviati)
{
    return celle_registro(
        {QDateTime::currentDateTime(), unita.porta, unita.dispositivo, unita.tipo, esito_in_corso, false, inviati});
}

} // namespace

RegistroCodici::RegistroCodici(QString connessione, QString nome, QString sito)
    : connessione_(std::move(connessione)), indirizzo_(std::move(nome)), sito_(std::move(sito))
{
}

RegistroCodici::~RegistroCodici()
{
    base(connessione_).close();
    QSqlDatabase::removeDatabase(connessione_);
}

std::unique_ptr<RegistroCodici> RegistroCodici::apri(const QString& indirizzo, const QString& sito, QString& problema)
{
    const QString connessione = nuovo_id();
    QString nome;
    std::optional<QString> perche = sql::connetti(indirizzo, connessione, nome);
    // Made at once, so that its end removes the connection whatever happens.
    std::unique_ptr<RegistroCodici> registro(new RegistroCodici(connessione, nome, sito));
    if (!perche) {
        QSqlDatabase db = base(connessione);
        perche = sql::prepara_schema(db);
    }
    if (!perche)
        perche = registro->segna_interrotte();
    if (!perche)
        return registro;
    problema = problema_registro.arg(nome, perche->trimmed());
    return nullptr;
}

QString RegistroCodici::nome() const
{
    return indirizzo_;
}

QString RegistroCodici::errore(const QSqlError& e) const
{
    return problema_registro.arg(indirizzo_, e.text().trimmed());
}

// A reservation of this computer and user still open: its program was killed.
std::optional<QString> RegistroCodici::segna_interrotte()
{
    QSqlQuery q(base(connessione_));
    if (const auto e = sql::esegui(q,
                                   QStringLiteral("UPDATE codici SET stato = ? WHERE sito = ? AND stato = ? "
                                                  "AND computer = ? AND utente = ?"),
                                   {stato_interrotta, sito_, stato_riservato, sql::computer(), sql::utente()}))
        return e->text();
    return std::nullopt;
}

std::optional<QSqlError> RegistroCodici::con_riga(const QString& testo, const QVariantList& valori, const QString& id,
                                                  const QStringList& celle)
{
    QSqlDatabase db = base(connessione_);
    // Kept until the transaction ends: PostgreSQL frees a statement only outside a failed one.
    QSqlQuery q(db);
    std::optional<QSqlError> e = sql::inizia(db);
    if (!e)
        e = sql::esegui(q, testo, valori);
    if (!e)
        e = sql::inserisci_riga(db, id, sito_, celle);
    q.finish();
    return sql::chiudi(db, e);
}

std::variant<Prenotazione, QString> RegistroCodici::riserva(int codice, const UnitaLetta& unita, const Valori& inviati,
                                                            const QString& assegnato_a)
{
    const QString id = nuovo_id();
    const QStringList celle = riga_iniziata(unita, inviati);
    const auto e = con_riga(QStringLiteral("INSERT INTO codici (sito, codice, stato, computer, utente, quando, "
                                           "assegnato_a, tipo, valori) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                            {sito_, codice, stato_riservato, sql::computer(), sql::utente(), sql::adesso(), assegnato_a,
                             unita.tipo, testo_valori(inviati)},
                            id, celle);
    if (!e)
        return Prenotazione{id, codice, false};
    return gia_preso(codice, unita, inviati, *e);
}

bool RegistroCodici::stesso_trasmettitore(int codice, const Valori& letti, const QString& scritti)
{
    return letti.testo(Campo::CodiceBrenk) == QString::number(codice) && testo_valori(letti) == scritti;
}

bool RegistroCodici::stesso_trasmettitore(int codice, const Valori& letti, const Valori& scritti)
{
    return stesso_trasmettitore(codice, letti, testo_valori(scritti));
}

bool RegistroCodici::tiene(const Valori& letti)
{
    bool numero = false;
    const int codice = letti.testo(Campo::CodiceBrenk).toInt(&numero);
    QSqlQuery q(base(connessione_));
    return numero
           && !sql::esegui(q, QStringLiteral("SELECT valori FROM codici WHERE sito = ? AND codice = ?"),
                           {sito_, codice})
           && q.next() && stesso_trasmettitore(codice, letti, q.value(0).toString());
}

// The insert failed: the code has a holder, or the record could not answer.
std::variant<Prenotazione, QString> RegistroCodici::gia_preso(int codice, const UnitaLetta& unita,
                                                              const Valori& inviati, const QSqlError& perche)
{
    QSqlQuery q(base(connessione_));
    if (const auto e = sql::esegui(q,
                                   QStringLiteral("SELECT stato, computer, utente, quando, valori FROM codici "
                                                  "WHERE sito = ? AND codice = ?"),
                                   {sito_, codice}))
        return errore(*e);
    if (!q.next())
        return errore(perche);
    if (!stesso_trasmettitore(codice, unita.letti, q.value(4).toString()))
        return codice_in_uso.arg(codice).arg(sito_, q.value(0).toString(), sql::data_e_ora(q.value(3).toString()),
                                             q.value(1).toString(), q.value(2).toString());
    q.finish();
    const QString id = nuovo_id();
    const QStringList celle = riga_iniziata(unita, inviati);
    if (const auto e = con_riga(QStringLiteral("UPDATE codici SET stato = ?, computer = ?, utente = ?, quando = ?, "
                                               "valori = ? WHERE sito = ? AND codice = ?"),
                                {stato_riservato, sql::computer(), sql::utente(), sql::adesso(), testo_valori(inviati),
                                 sito_, codice},
                                id, celle))
        return errore(*e);
    return Prenotazione{id, codice, true};
}

std::optional<QString> RegistroCodici::concludi(const Prenotazione& p, const QString& esito, bool codice_scritto)
{
    QSqlDatabase db = base(connessione_);
    QSqlQuery q(db);
    std::optional<QSqlError> e = sql::inizia(db);
    if (!e)
        e = sql::esegui(q, QStringLiteral("UPDATE righe SET esito = ?, codice_scritto = ? WHERE id = ?"),
                        {esito, codice_scritto ? 1 : 0, p.riga});
    // Without a code byte the reservation goes; a unit that held the code already keeps it.
    const bool libera = !codice_scritto && !p.stesso_trasmettitore;
    if (!e && libera)
        e = sql::esegui(q, QStringLiteral("DELETE FROM codici WHERE sito = ? AND codice = ?"), {sito_, p.codice});
    else if (!e)
        e = sql::esegui(q, QStringLiteral("UPDATE codici SET stato = ? WHERE sito = ? AND codice = ?"),
                        {stato_scritto, sito_, p.codice});
    q.finish();
    if ((e = sql::chiudi(db, e)))
        return errore(*e);
    return std::nullopt;
}

std::optional<QString> RegistroCodici::annota(const RigaRegistro& riga)
{
    QSqlDatabase db = base(connessione_);
    if (const auto e = sql::inserisci_riga(db, nuovo_id(), sito_, celle_registro(riga)))
        return errore(*e);
    return std::nullopt;
}

std::optional<int> RegistroCodici::prossimo_libero(int dopo)
{
    const Intervallo codici = scheda(Campo::CodiceBrenk).valori;
    int candidato = std::max(dopo + 1, codici.minimo);
    QSqlQuery q(base(connessione_));
    if (sql::esegui(q, QStringLiteral("SELECT codice FROM codici WHERE sito = ? AND codice >= ? ORDER BY codice"),
                    {sito_, candidato}))
        return std::nullopt;
    while (q.next() && q.value(0).toInt() == candidato)
        ++candidato;
    return candidato <= codici.massimo ? std::optional(candidato) : std::nullopt;
}

// A record that cannot answer holds every code: none is given twice.
bool RegistroCodici::occupato(int codice)
{
    QSqlQuery q(base(connessione_));
    return sql::esegui(q, QStringLiteral("SELECT 1 FROM codici WHERE sito = ? AND codice = ?"), {sito_, codice})
           || q.next();
}

Riepilogo RegistroCodici::riepilogo()
{
    QSqlQuery q(base(connessione_));
    if (sql::esegui(q, QStringLiteral("SELECT COUNT(*), MAX(codice) FROM codici WHERE sito = ? AND stato = ?"),
                    {sito_, stato_scritto})
        || !q.next())
        return {};
    return {q.value(0).toInt(), q.value(1).isNull() ? std::nullopt : std::optional(q.value(1).toInt())};
}

std::optional<QString> RegistroCodici::assegna(int codice, const QString& a_chi)
{
    QSqlQuery q(base(connessione_));
    if (const auto e = sql::esegui(q, QStringLiteral("UPDATE codici SET assegnato_a = ? WHERE sito = ? AND codice = ?"),
                                   {a_chi, sito_, codice}))
        return errore(*e);
    if (q.numRowsAffected() > 0)
        return std::nullopt;
    return problema_registro.arg(indirizzo_, codice_non_registrato.arg(codice).arg(sito_));
}

QString RegistroCodici::assegnato(int codice)
{
    QSqlQuery q(base(connessione_));
    if (sql::esegui(q, QStringLiteral("SELECT assegnato_a FROM codici WHERE sito = ? AND codice = ?"), {sito_, codice})
        || !q.next())
        return {};
    return q.value(0).toString();
}

std::optional<QString> RegistroCodici::esporta_csv(const QString& percorso)
{
    QSqlDatabase db = base(connessione_);
    QList<QStringList> righe;
    if (const auto e = sql::leggi_righe(db, sito_, righe))
        return errore(*e);
    QByteArray testo = intestazione_registro();
    for (const QStringList& r : std::as_const(righe))
        testo += linea_csv(r);
    return salva_intero(percorso, testo);
}

} // namespace brenk
