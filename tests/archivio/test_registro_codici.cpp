// SPDX-License-Identifier: GPL-3.0-or-later
// The record of codes as the operator meets it: a technician's steps on one site, on SQLite and on
// the PostgreSQL server BRENK_PROVA_POSTGRES names, and what each shows; older CSV records imported.

#include "archivio/registro_codici.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace brenk;

namespace {

const QByteArray intestazione =
    "Data e ora,Porta,Dispositivo,Tipo,Esito,Codice scritto,Codice Brenk,Freq Tx Mhz,Timer per rapina,"
    "Timer Antiatterramento,N° Ing di All,Su Ing N°,N° di Tx Tot,Cod Rep,Filtro P. All,Banda,Toni H/L,"
    "Ripristino Ing di Allarme,TX Sing/Mult,Zelm/Brenk\r\n";

// A line of an older record: its outcome, whether the code was written, the code, 13 empty values.
QByteArray linea(const QByteArray& esito, const QByteArray& scritto, const QByteArray& codice)
{
    return "2026-12-01T09:00:00+01:00,Com 1,/dev/ttyUSB0,New," + esito + ',' + scritto + ',' + codice
           + QByteArray(13, ',');
}

// "5/45": code 5, rapina timer 45; "" a unit as it leaves the factory.
Valori valori(const QString& testo)
{
    Valori v;
    v.testo(Campo::CodiceBrenk) = testo.section(u'/', 0, 0);
    v.testo(Campo::txb_tmp_rap) = testo.section(u'/', 1);
    return v;
}

// A technician's steps on the record at `indirizzo`, and what each shows.
struct Prova {
    QTemporaryDir cartella;
    QString indirizzo;
    QString sito;
    std::unique_ptr<RegistroCodici> registro;
    Prenotazione ultima;

    QString apri(const QString& percorso, const QString& a_sito)
    {
        QString problema;
        registro.reset();
        registro = RegistroCodici::apri(percorso, a_sito, problema);
        return problema;
    }
    // "riserva 5/45 da 5/30": code 5 and timer 45 sent to a unit whose read showed code 5 and timer 30.
    QString riserva(const QString& passo)
    {
        const Valori inviati = valori(passo.section(u' ', 1, 1));
        const auto r = registro->riserva(inviati.testo(Campo::CodiceBrenk).toInt(),
                                         {"Com 1", "/dev/ttyUSB0", "New", valori(passo.section(u' ', 3))}, inviati, {});
        ultima = std::holds_alternative<Prenotazione>(r) ? std::get<Prenotazione>(r) : ultima;
        const QString preso = ultima.stesso_trasmettitore ? "stesso %1" : "riservato %1";
        return std::holds_alternative<QString>(r) ? std::get<QString>(r) : preso.arg(ultima.codice);
    }
    QString importa(const QByteArray& testo)
    {
        QFile f(cartella.filePath(QStringLiteral("Banca.csv")));
        if (!f.exists() && f.open(QIODevice::WriteOnly))
            f.write(testo);
        f.close();
        QString database;
        const QString fatto = importa_csv(f.fileName(), database);
        return database.isEmpty() ? fatto : fatto + apri(database, QStringLiteral("Banca"));
    }
    // A newer program has brought the record to schema version `v`.
    QString versione(const QString& v)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), u"prova"_qs);
        db.setDatabaseName(indirizzo);
        const bool fatto = db.open() && QSqlQuery(db).exec(u"UPDATE versione_schema SET versione = %1"_qs.arg(v));
        const QString problema = fatto ? QString() : db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"prova"_qs);
        return problema;
    }
    QString passo(const QString& p, const QByteArray& csv)
    {
        const QString verbo = p.section(u' ', 0, 0);
        const QString a = p.section(u' ', 1, 1);
        const RigaRegistro caricata{QDateTime::currentDateTime(), "Com 2", "COM2", "Old", "Caricato", false, valori(a)};
        QFile csv_esportato(cartella.filePath(QStringLiteral("esportato.csv")));
        QString codici = QStringLiteral("presi");
        // clang-format off
        const std::map<QString, std::function<QString()>> passi{
            {"riserva", [&] { return riserva(p); }},
            {"concludi", [&] { return registro->concludi(ultima, "Verificato", a == u"si").value_or(""); }},
            {"annota", [&] { return registro->annota(caricata).value_or(""); }},
            {"libero", [&] { return u"libero %1"_qs.arg(registro->prossimo_libero(a.toInt()).value_or(0)); }},
            {"presi", [&] { for (int c = 1; c <= 1023; ++c) codici += registro->occupato(c) ? u" %1"_qs.arg(c) : u""_qs;
                            return codici; }},
            {"riepilogo", [&] { const Riepilogo r = registro->riepilogo();
                                return u"%1 scritti, ultimo %2"_qs.arg(r.trasmettitori).arg(*r.ultimo_codice); }},
            {"assegna", [&] { return registro->assegna(a.toInt(), p.section(u' ', 2)).value_or(registro->assegnato(a.toInt())); }},
            {"riapri", [&] { return apri(indirizzo, sito); }},
            {"esporta", [&] { const QString problema = registro->esporta_csv(csv_esportato.fileName()).value_or("");
                              return problema + (csv_esportato.open(QIODevice::ReadOnly) ? csv_esportato.readAll() : ""); }},
            {"importa", [&] { return importa(csv); }},
            {"versione", [&] { return versione(a); }},
        };
        // clang-format on
        return passi.at(verbo)();
    }
};

} // namespace

class TestRegistroCodici : public QObject {
    Q_OBJECT
private slots:
    void scenari_data();
    void scenari();
};

// Each row: the engines ("memoria", "postgres", "file": a new SQLite file),
// the steps, what the operator reads (nothing shown is left out), and an
// older CSV record for "importa".
void TestRegistroCodici::scenari_data()
{
    QTest::addColumn<QString>("motore");
    QTest::addColumn<QString>("passi");
    QTest::addColumn<QStringList>("visto");
    QTest::addColumn<QByteArray>("csv");
    const QString in_uso = QStringLiteral("Programmazione non eseguita: il Codice Brenk 5 del sito \"Banca\" è già in "
                                          "uso (%1) dal <quando>, computer \"<computer>\", utente \"<utente>\".");
    const QString importate = u"%1 righe del registro \"Banca.csv\" importate nel nuovo registro \"Banca.sqlite\"."_qs;
    const QByteArray cinque = linea("Verificato", "si", "5") + "\r\n";
    const QStringList motori{"memoria", "postgres"};
    const QStringList file{"file"};
    // clang-format off
    const struct {
        const char* nome;
        QStringList motori;
        const char* passi;
        QStringList visto;
        QByteArray csv = {};
    } righe[] = {
        {"un codice riservato, poi scritto: rifiutato, con chi lo tiene", motori,
         "riserva 5/45; riserva 5/45; concludi si; riserva 5/45",
         {"riservato 5", in_uso.arg(u"riservato"), in_uso.arg(u"scritto")}},
        {"senza byte del codice la riserva va via", motori, "riserva 5/45; concludi no; presi; riserva 5/45",
         {"riservato 5", "presi", "riservato 5"}},
        {"lo stesso trasmettitore torna", motori, "riserva 5/45; concludi si; riserva 5/30 da 5/45; concludi no; presi",
         {"riservato 5", "stesso 5", "presi 5"}},
        {"valori diversi: un altro trasmettitore", motori, "riserva 5/45; concludi si; riserva 5/45 da 5/30",
         {"riservato 5", in_uso.arg(u"scritto")}},
        {"di fabbrica: un altro trasmettitore", motori, "riserva 5/45; concludi si; riserva 5/45 da /",
         {"riservato 5", in_uso.arg(u"scritto")}},
        {"il prossimo libero salta i presi, 1023 compreso", motori,
         "riserva 3/45; concludi si; riserva 4/45; riserva 1023/45; concludi si; libero 0; libero 2; libero 1022; riepilogo",
         {"riservato 3", "riservato 4", "riservato 1023", "libero 1", "libero 5", "libero 0", "2 scritti, ultimo 1023"}},
        {"assegnato a", motori, "riserva 7/45; concludi si; assegna 7 Cassa 2; assegna 8 Cassa 3",
         {"riservato 7", "Cassa 2", "Registro \"<registro>\": il Codice Brenk 8 non è nel registro del sito \"Banca\"."}},
        {"esportato come il CSV di un registro", motori, "riserva 5/45; concludi si; annota 3; esporta",
         {"riservato 5", intestazione + "<iso>,Com 1,/dev/ttyUSB0,New,Verificato,si,5,,45,,,,,,,,,,,\r\n"
                                        "<iso>,Com 2,COM2,Old,Caricato,no,3,,,,,,,,,,,,,\r\n"}},
        {"programma chiuso a meta': interrotta", {"file", "postgres"}, "riserva 5/45; riapri; riserva 5/45; presi",
         {"riservato 5", in_uso.arg(u"interrotta"), "presi 5"}},
        {"un formato piu' recente", file, "versione 2; riapri",
         {"Registro \"registro.sqlite\": il formato 2 è più recente di questo programma, che legge fino al formato 1."}},
        {"csv: a capo e virgolette tra virgolette", file, "importa; presi", {importate.arg(2), "presi 5 6"},
         intestazione + linea("\"Errore, \"\"porta\"\"\r\nchiusa\"", "si", "6") + "\r\n" + cinque},
        {"csv: una cella vuota in coda, un codice non scritto", file, "importa; presi", {importate.arg(2), "presi 5"},
         intestazione + linea("Verificato", "si", "5") + ",\r\n" + linea("Non verificato", "no", "7") + ",\r\n"},
        {"csv: righe LF", file, "importa; presi", {importate.arg(2), "presi 5 9"},
         QByteArray(intestazione + cinque + linea("Verificato", "si", "9") + "\r\n").replace("\r\n", "\n")},
        {"csv: BOM, ultima riga senza a capo", file, "importa; presi", {importate.arg(2), "presi 5 9"},
         "\xEF\xBB\xBF" + intestazione + cinque + linea("Verificato", "si", "9")},
        {"csv: righe illeggibili nominate", file, "importa; presi",
         {importate.arg(2) + " Righe non lette: 3, 4.", "presi 5 8"},
         intestazione + cinque + "2026-12-01T10:00:00+01:00,Com 1,si,6\r\n" + linea("\"Errore", "si", "7") + "\r\n"
             + linea("Verificato", "si", "8")},
        {"csv: salvato col punto e virgola", file, "importa",
         {"Registro \"Banca.csv\": è un registro salvato con il punto e virgola come separatore: salvarlo di nuovo "
          "con la virgola."},
         QByteArray(intestazione).replace(',', ';')},
        {"csv: importato una volta sola", file, "importa; importa; presi",
         {importate.arg(1), "Il registro \"Banca.csv\" è già stato importato in \"Banca.sqlite\".", "presi 5"},
         intestazione + cinque},
    };
    // clang-format on
    for (const auto& r : righe)
        for (const QString& motore : r.motori)
            QTest::addRow("%s: %s", qPrintable(motore), r.nome) << motore << r.passi << r.visto << r.csv;
}

void TestRegistroCodici::scenari()
{
    QFETCH(QString, motore);
    QFETCH(QString, passi);
    QFETCH(QStringList, visto);
    QFETCH(QByteArray, csv);
    const QString postgres = qEnvironmentVariable("BRENK_PROVA_POSTGRES");
    if (motore == u"postgres" && postgres.isEmpty())
        QSKIP("BRENK_PROVA_POSTGRES non indica un server PostgreSQL di prova");
    Prova prova;
    QVERIFY(prova.cartella.isValid());
    const QMap<QString, QString> indirizzi{{"memoria", ":memory:"},
                                           {"postgres", postgres},
                                           {"file", prova.cartella.filePath("registro.sqlite")}};
    prova.indirizzo = indirizzi[motore];
    prova.sito = motore == u"postgres" ? u"Banca "_qs + QUuid::createUuid().toString() : u"Banca"_qs;
    const QDateTime prima = QDateTime::currentDateTime();
    QStringList mostrato;
    for (const QString& p : (u"riapri; "_qs + passi).split(u"; "_qs))
        mostrato << prova.passo(p, csv);
    mostrato.removeAll(QString());

    // The site, the time and the folder as the expected texts write them.
    const QString ora = QStringLiteral("dd/MM/yyyy HH:mm");
    const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT[^,]*"), QRegularExpression::MultilineOption);
    for (QString& riga : mostrato)
        riga.replace(prova.sito, u"Banca"_qs)
            .replace(QDateTime::currentDateTime().toString(ora), prima.toString(ora))
            .replace(iso, u"<iso>"_qs)
            .remove(QDir::toNativeSeparators(prova.cartella.path() + u'/'));
    for (QString& riga : visto)
        riga.replace(u"<quando>"_qs, prima.toString(ora))
            .replace(u"<computer>"_qs, QSysInfo::machineHostName())
            .replace(u"<utente>"_qs, qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME")))
            .replace(u"<registro>"_qs, prova.indirizzo);
    QCOMPARE(mostrato, visto);
}

QTEST_GUILESS_MAIN(TestRegistroCodici)
#include "test_registro_codici.moc"
