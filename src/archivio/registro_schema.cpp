// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/registro_sql.h"

#include "archivio/disco.h"
#include "archivio/testi.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace brenk::sql {

namespace {

const QString prefisso_postgres = QStringLiteral("postgresql://");

// The migrations: step n brings a record of version n - 1 to version n.
// A step once published never changes; a new one is added at the end.
const QList<QStringList> passi{
    {
        QStringLiteral("CREATE TABLE versione_schema (versione INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO versione_schema (versione) VALUES (0)"),
        QStringLiteral("CREATE TABLE codici (sito TEXT NOT NULL, codice INTEGER NOT NULL, stato TEXT NOT NULL, "
                       "computer TEXT NOT NULL, utente TEXT NOT NULL, quando TEXT NOT NULL, "
                       "assegnato_a TEXT NOT NULL, tipo TEXT NOT NULL, valori TEXT NOT NULL, "
                       "PRIMARY KEY (sito, codice))"),
        QStringLiteral("CREATE TABLE righe (id TEXT PRIMARY KEY, sito TEXT NOT NULL, quando TEXT NOT NULL, "
                       "porta TEXT NOT NULL, dispositivo TEXT NOT NULL, tipo TEXT NOT NULL, esito TEXT NOT NULL, "
                       "codice_scritto INTEGER NOT NULL, codice_brenk TEXT NOT NULL, frequenza_tx TEXT NOT NULL, "
                       "timer_rapina TEXT NOT NULL, timer_antiatterramento TEXT NOT NULL, "
                       "ingresso_allarme TEXT NOT NULL, ingresso_ripristino TEXT NOT NULL, "
                       "trasmissioni_totali TEXT NOT NULL, codice_ripetitore TEXT NOT NULL, "
                       "filtro_pulsante TEXT NOT NULL, banda TEXT NOT NULL, toni TEXT NOT NULL, "
                       "ripristino TEXT NOT NULL, trasmissione TEXT NOT NULL, modo TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX righe_del_sito ON righe (sito)"),
    },
};
// The version this program writes: that of its last step.
const int versione_schema = static_cast<int>(passi.size());

// The columns of `righe` after its key and site, one per cell of a line.
QStringList colonne_righe()
{
    QStringList colonne{QStringLiteral("quando"), QStringLiteral("porta"), QStringLiteral("dispositivo"),
                        QStringLiteral("tipo"),   QStringLiteral("esito"), QStringLiteral("codice_scritto")};
    for (const SchedaCampo& s : schede_campi)
        colonne << QString::fromLatin1(s.chiave);
    for (const SchedaCoppia& s : schede_coppie)
        colonne << QString::fromLatin1(s.chiave);
    return colonne;
}
const qsizetype colonna_scritto = colonne_righe().indexOf(QStringLiteral("codice_scritto"));

bool postgres(const QSqlDatabase& db)
{
    return db.driverName() == u"QPSQL";
}

// "postgresql://user@host:port/database" or "postgresql://user@/database?host=/socket/folder".
std::optional<QString> connetti_postgres(QSqlDatabase& db, const QString& indirizzo, QString& nome)
{
    const QUrl url(indirizzo, QUrl::StrictMode);
    if (!url.isValid() || url.userName().isEmpty() || url.path().size() < 2)
        return indirizzo_non_valido;
    const QUrlQuery domanda(url);
    db.setHostName(domanda.hasQueryItem(QStringLiteral("host"))
                       ? domanda.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded)
                       : url.host());
    db.setPort(url.port());
    db.setDatabaseName(url.path().mid(1));
    db.setUserName(url.userName());
    db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    nome = url.adjusted(QUrl::RemovePassword).toString();
    return std::nullopt;
}

// A file the record can be both read and written in.
std::optional<QString> connetti_sqlite(QSqlDatabase& db, const QString& percorso, QString& nome)
{
    nome = QDir::toNativeSeparators(percorso);
    db.setDatabaseName(percorso);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (percorso == u":memory:")
        return std::nullopt;
    if (const auto problema = non_ordinario(percorso))
        return problema;
    const QFileInfo file(percorso);
    if (!file.dir().exists())
        return file_inesistente;
    if (!QFileInfo(file.path()).isWritable() || (file.exists() && !file.isWritable()))
        return registro_sola_lettura;
    return std::nullopt;
}

// The record's schema version: 0 for an empty database; refused, one that
// holds other tables, or a version newer than this program's.
std::optional<QString> versione(QSqlDatabase& db, int& v)
{
    const QStringList tabelle = db.tables();
    if (!tabelle.contains(QStringLiteral("versione_schema"))) {
        v = 0;
        return tabelle.isEmpty() ? std::nullopt : std::optional(non_registro_codici);
    }
    QSqlQuery q(db);
    if (const auto e = esegui(q, QStringLiteral("SELECT versione FROM versione_schema")))
        return e->text();
    if (!q.next())
        return non_registro_codici;
    v = q.value(0).toInt();
    if (v > versione_schema)
        return formato_piu_recente.arg(v).arg(versione_schema);
    return std::nullopt;
}

std::optional<QString> migra(QSqlDatabase& db)
{
    int v = 0;
    if (const auto problema = versione(db, v))
        return problema;
    QSqlQuery q(db);
    for (; v < versione_schema; ++v) {
        for (const QString& passo : passi[v])
            if (const auto e = esegui(q, passo))
                return e->text();
        if (const auto e = esegui(q, QStringLiteral("UPDATE versione_schema SET versione = ?"), {v + 1}))
            return e->text();
    }
    return std::nullopt;
}

// Qt binds a null text as NULL: the tables keep an empty one.
QVariant da_legare(const QVariant& v)
{
    const bool nullo = v.typeId() == QMetaType::QString && v.toString().isNull();
    return nullo ? QVariant(QStringLiteral("")) : v;
}

} // namespace

std::optional<QSqlError> esegui(QSqlQuery& q, const QString& testo, const QVariantList& valori)
{
    // PostgreSQL prepares no table's creation: a statement without values runs as it is.
    bool fatto = valori.isEmpty() ? q.exec(testo) : q.prepare(testo);
    if (fatto && !valori.isEmpty()) {
        for (const QVariant& v : valori)
            q.addBindValue(da_legare(v));
        fatto = q.exec();
    }
    return fatto ? std::nullopt : std::optional(q.lastError());
}

std::optional<QSqlError> inizia(QSqlDatabase& db)
{
    QSqlQuery q(db);
    return esegui(q, postgres(db) ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

std::optional<QSqlError> termina(QSqlDatabase& db, bool conferma)
{
    QSqlQuery q(db);
    return esegui(q, conferma ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
}

std::optional<QSqlError> chiudi(QSqlDatabase& db, std::optional<QSqlError> errore)
{
    if (!errore)
        errore = termina(db, true);
    if (errore)
        termina(db, false);
    return errore;
}

std::optional<QString> connetti(const QString& indirizzo, const QString& connessione, QString& nome)
{
    const bool server = indirizzo.startsWith(prefisso_postgres);
    QSqlDatabase db = QSqlDatabase::addDatabase(server ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"),
                                                connessione);
    nome = indirizzo;
    if (const auto problema = server ? connetti_postgres(db, indirizzo, nome) : connetti_sqlite(db, indirizzo, nome))
        return problema;
    if (!db.open())
        return db.lastError().text();
    return std::nullopt;
}

std::optional<QString> prepara_schema(QSqlDatabase& db)
{
    // SQLite's "not a database".
    if (const auto e = inizia(db))
        return e->nativeErrorCode() == u"26" ? non_registro_codici : e->text();
    QSqlQuery q(db);
    // The lock's number: any constant the other programs on the server do not use.
    const auto e = postgres(db) ? esegui(q, QStringLiteral("SELECT pg_advisory_xact_lock(7310021)")) : std::nullopt;
    const std::optional<QString> problema = e ? e->text() : migra(db);
    q.finish();
    if (const auto fine = termina(db, !problema))
        return problema.value_or(fine->text());
    return problema;
}

QString adesso()
{
    QDateTime ora = QDateTime::currentDateTime();
    ora.setOffsetFromUtc(ora.offsetFromUtc());
    return ora.toString(Qt::ISODate);
}

QString data_e_ora(const QString& iso)
{
    return QDateTime::fromString(iso, Qt::ISODate).toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QString computer()
{
    return QSysInfo::machineHostName();
}

QString utente()
{
    const QString nome = qEnvironmentVariable("USER");
    return nome.isEmpty() ? qEnvironmentVariable("USERNAME") : nome;
}

QString testo_valori(const QStringList& celle)
{
    return QString::fromUtf8(linea_csv(celle.mid(prime_colonne))).chopped(2);
}

std::optional<QSqlError> inserisci_riga(QSqlDatabase& db, const QString& id, const QString& sito,
                                        const QStringList& celle)
{
    const QStringList colonne = colonne_righe();
    QVariantList valori{id, sito};
    for (const QString& c : celle)
        valori << c;
    valori[2 + colonna_scritto] = celle.value(colonna_scritto) == parola_si ? 1 : 0;
    QSqlQuery q(db);
    return esegui(q,
                  QStringLiteral("INSERT INTO righe (id, sito, %1) VALUES (?, ?%2)")
                      .arg(colonne.join(u", "), QStringLiteral(", ?").repeated(colonne.size())),
                  valori);
}

std::optional<QSqlError> leggi_righe(QSqlDatabase& db, const QString& sito, QList<QStringList>& righe)
{
    const QStringList colonne = colonne_righe();
    QSqlQuery q(db);
    if (const auto e = esegui(q, QStringLiteral("SELECT %1 FROM righe WHERE sito = ?").arg(colonne.join(u", ")),
                              {sito}))
        return e;
    while (q.next()) {
        QStringList celle;
        for (int i = 0; i < colonne.size(); ++i)
            celle << q.value(i).toString();
        celle[colonna_scritto] = q.value(int(colonna_scritto)).toInt() ? parola_si : parola_no;
        righe << celle;
    }
    std::stable_sort(righe.begin(), righe.end(), [](const QStringList& a, const QStringList& b) {
        return QDateTime::fromString(a[0], Qt::ISODate) < QDateTime::fromString(b[0], Qt::ISODate);
    });
    return std::nullopt;
}

} // namespace brenk::sql
