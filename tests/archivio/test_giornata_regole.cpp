// SPDX-License-Identifier: GPL-3.0-or-later
// The day's rules without a window or a line: sequences of what a technician
// does, and which code each programming hands to its unit, what the window
// shows and what the record keeps. And the record's cells as a spreadsheet
// reads them.

#include "archivio/giornata.h"
#include "params/blocco.h"

#include <QFile>
#include <QTimeZone>
#include <QTemporaryDir>
#include <QTest>

using namespace brenk;

namespace {

constexpr int scritture_programma = 62;

// The window's side, kept as the window keeps it: a read shows the unit's own
// values, a disconnect empties the fields, and every answer is shown.
class Tecnico {
public:
    Tecnico()
    {
        finestra_.testo(Campo::CodiceBrenk) = QStringLiteral("5");
        finestra_.testo(Campo::txb_tmp_rap) = QStringLiteral("45");
    }

    QStringList esegui(const QString& passi)
    {
        for (const QString& passo : passi.split(QStringLiteral(", ")))
            fai(passo.section(u' ', 0, 0), passo.section(u' ', 1));
        return visto_;
    }

private:
    void fai(const QString& cosa, const QString& quanto)
    {
        if (cosa == u"serie")
            g_.imposta_serie(quanto != u"no");
        else if (cosa == u"registro")
            dici(g_.imposta_registro(registro()));
        else if (cosa == u"codice")
            finestra_.testo(Campo::CodiceBrenk) = quanto;
        else if (cosa == u"connetti")
            connetti();
        else if (cosa == u"programma")
            programma();
        else if (cosa == u"inizia")
            inizia();
        else if (cosa == u"scrive")
            scrivi(quanto.toInt(), true);
        else if (cosa == u"manca")
            scrivi(1, false);
        else if (cosa == u"fine")
            dici(g_.conclusa(finestra_));
        else if (cosa == u"disconetti")
            lascia();
        else if (cosa == u"uscita")
            dici(g_.interrotta());
        else if (cosa == u"fabbrica")
            fabbrica();
        else if (cosa == u"riga_rotta")
            aggiungi_al_registro("2026-12-09T08:00:00+01:00,Com 1,\"/dev/ttyUSB0\r\n");
        else if (cosa == u"finestra")
            visto_ << finestra_.testo(Campo::CodiceBrenk) + u'/' + finestra_.testo(Campo::txb_tmp_rap);
        else if (cosa == u"righe")
            visto_ << righe();
        else
            QFAIL(qPrintable(QStringLiteral("passo sconosciuto: ") + cosa));
    }

    QString registro() const { return cartella_.filePath(QStringLiteral("registro.csv")); }

    // What the operator reads, the record named by its file's name.
    void leggi(QString testo) { visto_ << testo.replace(cartella_.path() + u'/', QString()); }
    void mostra(const Risposta& r)
    {
        if (r.valori)
            finestra_ = *r.valori;
        for (const QString& m : r.messaggi)
            leggi(m);
    }
    void dici(const std::optional<QString>& problema)
    {
        if (problema)
            leggi(*problema);
    }

    void connetti()
    {
        mostra(g_.collegamento(finestra_));
        finestra_ = {};
        finestra_.testo(Campo::CodiceBrenk) = QStringLiteral("1");
        finestra_.testo(Campo::txb_tmp_rap) = QStringLiteral("30");
        mostra(g_.letto(true));
    }
    void lascia()
    {
        const Valori prima = std::exchange(finestra_, {});
        mostra(g_.lasciato(prima));
    }
    // The code a programming starts with, or its refusal.
    void inizia()
    {
        scritte_ = 0;
        const auto rifiuto = g_.programmazione(finestra_, {QStringLiteral("Com 1"), QStringLiteral("/dev/ttyUSB0"),
                                                           QStringLiteral("New")});
        leggi(rifiuto.value_or(finestra_.testo(Campo::CodiceBrenk)));
    }
    void scrivi(int quante, bool confermate)
    {
        for (int i = 0; i < quante; ++i, ++scritte_) {
            g_.inviata(scritte_);
            if (confermate)
                g_.confermata(scritte_);
        }
    }
    void programma()
    {
        inizia();
        scrivi(scritture_programma, true);
        g_.verificata();
        dici(g_.conclusa(finestra_));
    }
    void fabbrica()
    {
        scritte_ = 0;
        g_.fabbrica({QStringLiteral("Com 2"), QStringLiteral("/dev/ttyS0"), QStringLiteral("Old")});
        scrivi(dimensione_blocco, true);
        g_.verificata();
        dici(g_.conclusa(finestra_));
    }

    void aggiungi_al_registro(const QByteArray& testo) const
    {
        QFile f(registro());
        QVERIFY(f.open(QIODevice::Append) && f.write(testo) == testo.size());
    }
    // Each line after the header: its outcome, whether the code reached the
    // unit, and the code.
    QStringList righe() const
    {
        QFile f(registro());
        QStringList r;
        if (!f.open(QIODevice::ReadOnly))
            return r;
        for (const QByteArray& riga : f.readAll().split('\n').mid(1)) {
            const QStringList celle = QString::fromUtf8(riga).split(u',');
            if (celle.size() > 6)
                r << celle.mid(4, 3).join(u' ');
        }
        return r;
    }

    QTemporaryDir cartella_;
    Giornata g_;
    Valori finestra_;
    int scritte_ = 0;
    QStringList visto_;
};

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
             "serie, connetti, programma, disconetti, connetti, programma, disconetti, finestra",
             {"5", "6", "7/45"});
        riga("serie scelta dopo la programmazione",
             "connetti, codice 5, programma, serie, disconetti, connetti, programma", {"5", "6"});
        riga("lasciato durante la rilettura",
             "serie, connetti, inizia, scrive 62, disconetti, fine, connetti, programma", {"5", "6"});
        riga("verifica fallita dopo ogni scrittura",
             "serie, connetti, inizia, scrive 62, fine, disconetti, connetti, programma", {"5", "6"});
        riga("tempo scaduto prima del codice: lo tiene",
             "serie, connetti, inizia, scrive 10, manca, fine, disconetti, connetti, programma", {"5", "5"});
        riga("tempo scaduto dopo il byte alto del codice",
             "serie, connetti, inizia, scrive 16, manca, fine, disconetti, connetti, programma",
             {"5", "6"});
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
        riga("uscita a metà: la riga c'è",
             "registro, connetti, inizia, scrive 20, manca, uscita, righe",
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
        QCOMPARE(Tecnico().esegui(passi), visto);
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
        const QByteArray riga =
            in_csv({QDateTime(QDate(2026, 12, 9), QTime(8, 0), QTimeZone(3600)),
                    QStringLiteral("Com 1"), dispositivo, QStringLiteral("New"), QStringLiteral("Verificato"), true, {}});
        QCOMPARE(riga, "2026-12-09T08:00:00+01:00,Com 1," + cella + ",New,Verificato,si,,,,,,,,,,,,,,\r\n");
    }
};

QTEST_GUILESS_MAIN(TestGiornataRegole)
#include "test_giornata_regole.moc"
