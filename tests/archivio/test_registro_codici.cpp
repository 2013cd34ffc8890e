// SPDX-License-Identifier: GPL-3.0-or-later
// The record of codes as the operator meets it, on SQLite in memory and, when
// BRENK_PROVA_POSTGRES names a server, on PostgreSQL: a technician's steps on
// one site, and what each shows; older CSV records imported.

#include "archivio/registro_codici.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace brenk;

namespace {

const QString indirizzo_postgres = qEnvironmentVariable("BRENK_PROVA_POSTGRES");
const QString formato_ora = QStringLiteral("dd/MM/yyyy HH:mm");
const QByteArray intestazione =
    "Data e ora,Porta,Dispositivo,Tipo,Esito,Codice scritto,Codice Brenk,Freq Tx Mhz,Timer per rapina,"
    "Timer Antiatterramento,N° Ing di All,Su Ing N°,N° di Tx Tot,Cod Rep,Filtro P. All,Banda,Toni H/L,"
    "Ripristino Ing di Allarme,TX Sing/Mult,Zelm/Brenk\r\n";
// A line of an older record: its outcome cells, then the code and the 13 other values.
QByteArray linea(const QByteArray& esito, const QByteArray& scritto, const QByteArray& codice)
{
    return "2026-12-01T09:00:00+01:00,Com 1,/dev/ttyUSB0,New," + esito + ',' + scritto + ',' + codice +
           QByteArray(13, ',');
}

// "5/45": code 5, rapina timer 45; "" a unit as it leaves the factory.
Valori valori(const QString& testo)
{
    Valori v;
    v.testo(Campo::CodiceBrenk) = testo.section(u'/', 0, 0);
    v.testo(Campo::txb_tmp_rap) = testo.section(u'/', 1);
    return v;
}

QString presi(RegistroCodici& r)
{
    QString visto = QStringLiteral("presi");
    for (int c = 1; c <= 1023; ++c)
        visto += r.occupato(c) ? u' ' + QString::number(c) : QString();
    return visto;
}

// A record of schema version `versione` in `percorso`, as a later program would leave it.
void di_versione(const QString& percorso, int versione)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("prova"));
        db.setDatabaseName(percorso);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE versione_schema (versione INTEGER NOT NULL)")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO versione_schema VALUES (%1)").arg(versione)));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("prova"));
}

struct Prova {
    QTemporaryDir cartella;
    QString indirizzo;
    QString sito;
    std::unique_ptr<RegistroCodici> registro;
    std::optional<Prenotazione> ultima;
    QStringList visto;

    void dici(const std::optional<QString>& testo)
    {
        if (testo)
            visto << *testo;
    }
    void riserva(const QString& passo)
    {
        const UnitaLetta unita{QStringLiteral("Com 1"), QStringLiteral("/dev/ttyUSB0"), QStringLiteral("New"),
                               valori(passo.section(u' ', 3))};
        const auto r = registro->riserva(passo.section(u' ', 1, 1).section(u'/', 0, 0).toInt(), unita,
                                         valori(passo.section(u' ', 1, 1)), {});
        if (const auto* p = std::get_if<Prenotazione>(&r)) {
            ultima = *p;
            visto << QStringLiteral("%1 %2").arg(p->stesso_trasmettitore ? "stesso" : "riservato").arg(p->codice);
        } else {
            visto << std::get<QString>(r);
        }
    }
    void esporta()
    {
        const QString csv = cartella.filePath(QStringLiteral("esportato.csv"));
        dici(registro->esporta_csv(csv));
        QFile f(csv);
        if (f.open(QIODevice::ReadOnly))
            visto << QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
    }
    void importa(const QByteArray& testo)
    {
        const QString csv = cartella.filePath(QStringLiteral("Banca.csv"));
        QFile f(csv);
        if (!f.exists() && f.open(QIODevice::WriteOnly))
            f.write(testo);
        f.close();
        QString database;
        visto << importa_csv(csv, database);
        QString problema;
        registro = RegistroCodici::apri(database, QStringLiteral("Banca"), problema);
        visto << (registro ? presi(*registro) : problema);
    }
    void versione(int v)
    {
        const QString percorso = cartella.filePath(QStringLiteral("nuovo.sqlite"));
        di_versione(percorso, v);
        QString problema;
        registro = RegistroCodici::apri(percorso, sito, problema);
        visto << (registro ? QStringLiteral("aperto") : problema);
    }
    void passo(const QString& p, const QByteArray& csv)
    {
        const QString a = p.section(u' ', 1, 1);
        if (p.startsWith(u"riserva"))
            riserva(p);
        else if (p.startsWith(u"concludi"))
            dici(registro->concludi(ultima.value_or(Prenotazione{}), QStringLiteral("Verificato"), a == u"si"));
        else if (p.startsWith(u"annota"))
            dici(registro->annota({QDateTime::currentDateTime(), QStringLiteral("Com 2"), QStringLiteral("COM2"),
                                   QStringLiteral("Old"), QStringLiteral("Caricato"), false, valori(a)}));
        else if (p.startsWith(u"libero"))
            visto << QStringLiteral("libero %1").arg(registro->prossimo_libero(a.toInt()).value_or(0));
        else if (p == u"presi")
            visto << presi(*registro);
        else if (p == u"riepilogo")
            visto << QStringLiteral("riepilogo %1 ultimo %2")
                         .arg(registro->riepilogo().trasmettitori)
                         .arg(registro->riepilogo().ultimo_codice.value_or(0));
        else if (p.startsWith(u"assegna")) {
            dici(registro->assegna(a.toInt(), p.section(u' ', 2)));
            visto << QStringLiteral("assegnato %1 %2").arg(a, registro->assegnato(a.toInt()));
        } else if (p == u"esporta")
            esporta();
        else if (p == u"importa")
            importa(csv);
        else if (p.startsWith(u"versione"))
            versione(a.toInt());
        else
            visto << QStringLiteral("passo sconosciuto: %1").arg(p);
    }
};

} // namespace

class TestRegistroCodici : public QObject {
    Q_OBJECT
private slots:
    void scenari_data();
    void scenari();
};

// Each row: the engine ("memoria", "postgres", or "file": a new SQLite file of
// its own), the steps, what the operator reads, and an older CSV record.
void TestRegistroCodici::scenari_data()
{
    QTest::addColumn<QString>("motore");
    QTest::addColumn<QString>("passi");
    QTest::addColumn<QStringList>("visto");
    QTest::addColumn<QByteArray>("csv");

    const QString in_uso = QStringLiteral("Programmazione non eseguita: il Codice Brenk 5 del sito \"Banca\" è già in uso "
                                          "(%1) dal <quando>, computer \"<computer>\", utente \"<utente>\".");
    const QString riga_esportata = QStringLiteral("<iso>,Com 1,/dev/ttyUSB0,New,Verificato,si,5,,45,,,,,,,,,,,");
    const struct {
        const char* nome;
        const char* passi;
        QStringList visto;
    } righe[] = {
        {"un codice scritto e' rifiutato, con chi lo tiene", "riserva 5/45; concludi si; riserva 5/45",
         {"riservato 5", in_uso.arg(u"scritto")}},
        {"un codice riservato e' rifiutato", "riserva 5/45; riserva 5/45", {"riservato 5", in_uso.arg(u"riservato")}},
        {"senza byte del codice la riserva e' tolta", "riserva 5/45; concludi no; presi; riserva 5/45",
         {"riservato 5", "presi", "riservato 5"}},
        {"lo stesso trasmettitore e' riammesso", "riserva 5/45; concludi si; riserva 5/30 da 5/45; concludi no; presi",
         {"riservato 5", "stesso 5", "presi 5"}},
        {"valori diversi: un altro trasmettitore", "riserva 5/45; concludi si; riserva 5/45 da 5/30",
         {"riservato 5", in_uso.arg(u"scritto")}},
        {"di fabbrica: un altro trasmettitore", "riserva 5/45; concludi si; riserva 5/45 da /",
         {"riservato 5", in_uso.arg(u"scritto")}},
        {"il prossimo libero salta i presi, 1023 compreso",
         "riserva 3/45; concludi si; riserva 4/45; riserva 1023/45; concludi si; libero 0; libero 2; libero 1022; "
         "riepilogo",
         {"riservato 3", "riservato 4", "riservato 1023", "libero 1", "libero 5", "libero 0",
          "riepilogo 2 ultimo 1023"}},
        {"assegnato a", "riserva 7/45; concludi si; assegna 7 Cassa 2; assegna 8 Cassa 3",
         {"riservato 7", "assegnato 7 Cassa 2",
          "Registro \"<registro>\": il Codice Brenk 8 non è nel registro del sito \"Banca\".", "assegnato 8 "}},
        {"esportato come il CSV di un registro", "riserva 5/45; concludi si; annota 3; esporta",
         {"riservato 5", QString::fromUtf8(intestazione).trimmed(), riga_esportata,
          "<iso>,Com 2,COM2,Old,Caricato,no,3,,,,,,,,,,,,,", ""}},
    };
    for (const char* motore : {"memoria", "postgres"})
        for (const auto& r : righe)
            QTest::addRow("%s: %s", motore, r.nome) << motore << r.passi << r.visto << QByteArray();

    const QByteArray cinque = linea("Verificato", "si", "5");
    const QString importate = QStringLiteral("%1 righe del registro \"Banca.csv\" importate nel nuovo registro "
                                             "\"Banca.sqlite\".");
    const struct {
        const char* nome;
        QByteArray csv;
        QStringList visto;
    } csv[] = {
        {"a capo tra virgolette",
         intestazione + linea("\"Errore, \"\"porta\"\"\r\nchiusa\"", "si", "6") + "\r\n" + cinque + "\r\n",
         {importate.arg(2), "presi 5 6"}},
        {"una cella vuota in coda, un codice non scritto",
         intestazione + cinque + ",\r\n" + linea("Non verificato", "no", "7") + ",\r\n", {importate.arg(2), "presi 5"}},
        {"righe LF", QByteArray(intestazione).replace("\r\n", "\n") + cinque + '\n' + linea("Verificato", "si", "9") + '\n',
         {importate.arg(2), "presi 5 9"}},
        {"BOM, ultima riga senza a capo", "\xEF\xBB\xBF" + intestazione + cinque + "\r\n" + linea("Verificato", "si", "9"),
         {importate.arg(2), "presi 5 9"}},
        {"righe illeggibili nominate",
         intestazione + cinque + "\r\n2026-12-01T10:00:00+01:00,Com 1,si,6\r\n" + linea("\"Errore", "si", "7") + "\r\n" +
             linea("Verificato", "si", "8") + "\r\n",
         {importate.arg(2) + " Righe non lette: 3, 4.", "presi 5 8"}},
    };
    for (const auto& r : csv)
        QTest::addRow("csv: %s", r.nome) << "file" << "importa" << r.visto << r.csv;
    QTest::newRow("csv: importato una volta sola")
        << "file" << "importa; importa" << QStringList{importate.arg(1), "presi 5",
           "Il registro \"Banca.csv\" è già stato importato in \"Banca.sqlite\".", "presi 5"}
        << intestazione + cinque;
    QTest::newRow("file: formato piu' recente")
        << "file" << "versione 2"
        << QStringList{"Registro \"nuovo.sqlite\": il formato 2 è più recente di questo programma, che legge fino "
                       "al formato 1."}
        << QByteArray();
}

void TestRegistroCodici::scenari()
{
    QFETCH(QString, motore);
    QFETCH(QString, passi);
    QFETCH(QStringList, visto);
    QFETCH(QByteArray, csv);
    if (motore == u"postgres" && indirizzo_postgres.isEmpty())
        QSKIP("BRENK_PROVA_POSTGRES non indica un server PostgreSQL di prova");
    Prova prova;
    QVERIFY(prova.cartella.isValid());
    const bool postgres = motore == u"postgres";
    prova.indirizzo = postgres ? indirizzo_postgres : QStringLiteral(":memory:");
    prova.sito = postgres ? QStringLiteral("Banca ") + QUuid::createUuid().toString() : QStringLiteral("Banca");
    QString problema;
    if (motore != u"file") {
        prova.registro = RegistroCodici::apri(prova.indirizzo, prova.sito, problema);
        QVERIFY2(prova.registro, qPrintable(problema));
    }
    const QDateTime prima = QDateTime::currentDateTime();
    for (const QString& p : passi.split(QStringLiteral("; ")))
        prova.passo(p, csv);
    const QDateTime dopo = QDateTime::currentDateTime();

    for (QString& riga : prova.visto) {
        riga.replace(prova.sito, QStringLiteral("Banca")).replace(dopo.toString(formato_ora), prima.toString(formato_ora));
        riga.replace(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT[^,]*")), QStringLiteral("<iso>"));
        riga.remove(QDir::toNativeSeparators(prova.cartella.path() + u'/'));
    }
    const QString utente = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    for (QString& riga : visto)
        riga.replace(QStringLiteral("<quando>"), prima.toString(formato_ora))
            .replace(QStringLiteral("<computer>"), QSysInfo::machineHostName())
            .replace(QStringLiteral("<utente>"), utente)
            .replace(QStringLiteral("<registro>"), prova.indirizzo);
    QCOMPARE(prova.visto, visto);
}

QTEST_GUILESS_MAIN(TestRegistroCodici)
#include "test_registro_codici.moc"
