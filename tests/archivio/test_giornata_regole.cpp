// SPDX-License-Identifier: GPL-3.0-or-later
// The day's rules without a window or a line: sequences of what a technician
// does, and which code each programming hands to its unit, what the window
// shows and what the record keeps; and the record's cells as a spreadsheet
// reads them.

#include "archivio/giornata.h"

#include <QFile>
#include <QTimeZone>
#include <QTemporaryDir>
#include <QTest>

using namespace brenk;

namespace {

const Unita unita{QStringLiteral("Com 1"), QStringLiteral("/dev/ttyUSB0"), QStringLiteral("New")};

// Each line of the record after the header: its outcome, whether the code
// reached the unit, and the code.
QStringList righe(const QString& registro)
{
    QFile f(registro);
    QStringList r;
    for (const QByteArray& riga : (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray()).split('\n').mid(1))
        if (const QStringList celle = QString::fromUtf8(riga).split(u','); celle.size() > 6)
            r << celle.mid(4, 3).join(u' ');
    return r;
}

// Runs a technician's steps against the day's rules, with the window kept as
// the window keeps it: code 5 and timer 45 at first, a read shows the unit's
// own code 1 and timer 30, a disconnect empties the fields. What the
// operator reads comes back, the record named by its file's name.
QStringList giornata(QString passi)
{
    QTemporaryDir cartella;
    const QString registro = cartella.filePath(QStringLiteral("registro.csv"));
    Giornata g;
    Valori f;
    f.testo(Campo::CodiceBrenk) = QStringLiteral("5");
    f.testo(Campo::txb_tmp_rap) = QStringLiteral("45");
    QStringList visto;
    const auto leggi = [&](QString t) { visto << t.remove(cartella.path() + u'/'); };
    const auto dici = [&](const std::optional<QString>& p) { p ? leggi(*p) : void(); };
    const auto mostra = [&](const Risposta& r) {
        f = r.valori.value_or(f);
        std::for_each(r.messaggi.begin(), r.messaggi.end(), leggi);
    };
    int scritte = 0;
    passi.replace(QStringLiteral("programma"), QStringLiteral("inizia, scrive 62, verificata, fine"));
    passi.replace(QStringLiteral("fabbrica"), QStringLiteral("inizializza, scrive 64, verificata, fine"));
    for (const QString& passo : passi.split(QStringLiteral(", "))) {
        const QString cosa = passo.section(u' ', 0, 0);
        const QString quanto = passo.section(u' ', 1);
        if (cosa == u"serie")
            g.imposta_serie(quanto != u"no");
        else if (cosa == u"registro")
            dici(g.imposta_registro(registro));
        else if (cosa == u"codice")
            f.testo(Campo::CodiceBrenk) = quanto;
        else if (cosa == u"connetti") {
            mostra(g.collegamento(f));
            f.testo(Campo::CodiceBrenk) = QStringLiteral("1");
            f.testo(Campo::txb_tmp_rap) = QStringLiteral("30");
            mostra(g.letto(true));
        } else if (cosa == u"disconetti")
            mostra(g.lasciato(std::exchange(f, {})));
        else if (cosa == u"inizia")
            scritte = 0, leggi(g.programmazione(f, unita).value_or(f.testo(Campo::CodiceBrenk)));
        else if (cosa == u"inizializza")
            scritte = 0, g.fabbrica(unita);
        else if (cosa == u"scrive" || cosa == u"manca") {
            for (int fine = scritte + (cosa == u"manca" ? 1 : quanto.toInt()); scritte < fine; ++scritte) {
                g.inviata(scritte);
                cosa == u"scrive" ? g.confermata(scritte) : void();
            }
        } else if (cosa == u"verificata")
            g.verificata();
        else if (cosa == u"fine")
            dici(g.conclusa(f));
        else if (cosa == u"uscita")
            dici(g.interrotta());
        else if (cosa == u"riga_rotta") {
            QFile r(registro);
            if (!r.open(QIODevice::Append) || r.write("2026-12-09T08:00:00+01:00,Com 1,\"/dev/ttyUSB0\r\n") < 0)
                visto << QStringLiteral("riga rotta non scritta");
        } else if (cosa == u"finestra")
            visto << f.testo(Campo::CodiceBrenk) + u'/' + f.testo(Campo::txb_tmp_rap);
        else
            visto << righe(registro);
    }
    return visto;
}

} // namespace

class TestGiornataRegole : public QObject {
    Q_OBJECT

private slots:
    // Each row: what the technician does, then what is seen: the code each
    // programming starts with (or its refusal), every message, and what
    // "finestra" and "righe" look at. The window starts with code 5; a read
    // shows the unit's own code 1.
    void regole_data()
    {
        QTest::addColumn<QString>("passi");
        QTest::addColumn<QStringList>("visto");
        const QString gia = QStringLiteral("Programmazione non eseguita: il Codice Brenk %1 è già nel registro "
                                           "\"registro.csv\" per un altro trasmettitore.");
        const auto riga = [](const char* nome, const char* passi, const QStringList& visto) {
            QTest::newRow(nome) << QString::fromUtf8(passi) << visto;
        };
        riga("serie: il codice passa al seguente",
             "serie, connetti, programma, disconetti, connetti, programma, disconetti, finestra", {"5", "6", "7/45"});
        riga("serie scelta dopo la programmazione",
             "connetti, codice 5, programma, serie, disconetti, connetti, programma", {"5", "6"});
        riga("lasciato durante la rilettura",
             "serie, connetti, inizia, scrive 62, disconetti, fine, connetti, programma", {"5", "6"});
        riga("verifica fallita dopo ogni scrittura",
             "serie, connetti, inizia, scrive 62, fine, disconetti, connetti, programma", {"5", "6"});
        riga("tempo scaduto prima del codice: lo tiene",
             "serie, connetti, inizia, scrive 10, manca, fine, disconetti, connetti, programma", {"5", "5"});
        riga("tempo scaduto dopo il byte alto del codice",
             "serie, connetti, inizia, scrive 16, manca, fine, disconetti, connetti, programma", {"5", "6"});
        riga("porta persa, poi Connetti: un passo solo",
             "serie, connetti, programma, connetti, disconetti, finestra", {"5", "6/45"});
        riga("stessa unità di nuovo, con il registro", "registro, connetti, codice 5, programma, programma",
             {"5", "5"});
        riga("registro senza serie rifiuta il codice di un'altra unità",
             "registro, connetti, codice 5, programma, disconetti, connetti, codice 5, programma",
             {"5", gia.arg(5)});
        riga("serie salta i codici del registro",
             "registro, connetti, codice 6, programma, disconetti, serie, connetti, codice 5, programma, "
             "disconetti, connetti, programma",
             {"6", "5", "7"});
        riga("una riga rotta non nasconde le seguenti",
             "registro, connetti, codice 5, programma, disconetti, riga_rotta, connetti, codice 6, programma, "
             "disconetti, connetti, codice 6, programma",
             {"5", "6", gia.arg(6)});
        riga("serie tolta: campi vuoti, nessun codice", "serie, connetti, programma, serie no, disconetti, finestra",
             {"5", "/"});
        riga("dopo 1023 la serie finisce", "serie, codice 1023, connetti, programma, disconetti, finestra",
             {"1023", "Serie terminata: nessun Codice Brenk libero dopo 1023.", "/45"});
        riga("uscita a metà: la riga c'è", "registro, connetti, inizia, scrive 20, manca, uscita, righe",
             {"1", "Interrotta all'uscita dal programma dopo 20 scritture confermate si 1"});
        riga("uscita con il codice in volo", "registro, connetti, inizia, scrive 15, manca, uscita, righe",
             {"1", "Interrotta all'uscita dal programma dopo 15 scritture confermate si 1"});
        riga("niente inviato, nessuna riga", "registro, connetti, inizia, fine, righe", {"1"});
        riga("inizializzazione: riga senza codice", "registro, connetti, fabbrica, righe", {"Verificato no 1"});
    }
    void regole()
    {
        QFETCH(QString, passi);
        QFETCH(QStringList, visto);
        QCOMPARE(giornata(passi), visto);
    }

    // The device as the record's line writes it, between the port's cell and
    // the type's: a spreadsheet shows it as the text it is.
    void cella_data()
    {
        QTest::addColumn<QString>("dispositivo");
        QTest::addColumn<QByteArray>("cella");
        QTest::newRow("semplice") << "/dev/ttyUSB0" << QByteArray("/dev/ttyUSB0");
        QTest::newRow("virgolette") << "/dev/a\"b" << QByteArray("\"/dev/a\"\"b\"");
        QTest::newRow("virgola") << "/dev/a,b" << QByteArray("\"/dev/a,b\"");
        QTest::newRow("a capo") << "/dev/a\r\nb" << QByteArray("/dev/a  b");
        QTest::newRow("formula =") << "=1+1" << QByteArray("'=1+1");
        QTest::newRow("formula +") << "+39 02" << QByteArray("'+39 02");
        QTest::newRow("formula -") << "-1" << QByteArray("'-1");
        QTest::newRow("formula @") << "@SOMMA(A1)" << QByteArray("'@SOMMA(A1)");
        QTest::newRow("formula con virgola") << "=SOMMA(1,2)" << QByteArray("\"'=SOMMA(1,2)\"");
    }
    void cella()
    {
        QFETCH(QString, dispositivo);
        QFETCH(QByteArray, cella);
        const QDateTime alle_8(QDate(2026, 12, 9), QTime(8, 0), QTimeZone(3600));
        QCOMPARE(in_csv({alle_8, unita.porta, dispositivo, unita.tipo, QStringLiteral("Verificato"), true, {}}),
                 "2026-12-09T08:00:00+01:00,Com 1," + cella + ",New,Verificato,si,,,,,,,,,,,,,,\r\n");
    }
};

QTEST_GUILESS_MAIN(TestGiornataRegole)
#include "test_giornata_regole.moc"
