// SPDX-License-Identifier: GPL-3.0-or-later
// The day's orchestration without a window: the session on the virtual line,
// "Disconetti" pressed in the middle of a programming, and what the record
// and the window keep of it.

#include "banco_virtuale.h"
#include "sessione/sessione.h"
#include "testi.h"

#include <QTemporaryDir>
#include <QTest>

using namespace brenk;
using namespace brenk::prova;

namespace {

// A day with a record, its first unit connected (on an empty window, so
// that in a series the read gives the site's values).
struct Giorno {
    bool inizia(bool serie)
    {
        const bool registrato = s.usa_registro(cartella.filePath(QStringLiteral("registro.sqlite")));
        s.imposta_serie(serie);
        s.connetti(QStringLiteral("Connetti"));
        return b.avanza_finche([&] { return !s.occupato(); }) && registrato;
    }
    // The record's lines, as its CSV export writes them.
    QStringList righe()
    {
        QFile csv(cartella.filePath(QStringLiteral("registro.csv")));
        if (s.giornata().esporta_csv(csv.fileName()) || !csv.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"));
    }

    QTemporaryDir cartella;
    Banco b{Contenuto::UHF};
    Sessione s{b.finestra, b.linea.dispositivo(), b.orologio};
};

} // namespace

class TestSessione : public QObject {
    Q_OBJECT

private slots:
    // Each row: a series or not, how many bytes the transmitter has taken
    // from the first write on when "Disconetti" is pressed, then the record's
    // outcome, code cell and code, the code the window shows, the messages.
    void disconetti_durante_la_programmazione_data()
    {
        QTest::addColumn<bool>("serie");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QStringList>("visto");
        const QString rilettura = QStringLiteral("Verifica non eseguita: la porta si è chiusa durante la rilettura. I "
                                                 "valori da programmare sono ancora nella finestra: ripetere la "
                                                 "programmazione.");
        QTest::newRow("serie, dopo il codice") << true << 60 << QStringList{atteso::interrotta(19) + ",si,306", "307"};
        QTest::newRow("serie, prima del codice") << true << 30 << QStringList{atteso::interrotta(9) + ",no,306", "306"};
        QTest::newRow("serie, nella rilettura") << true << 200 << QStringList{rilettura + ",si,306", "307"};
        QTest::newRow("senza serie") << false << 60 << QStringList{atteso::interrotta(19) + ",si,306", ""};
    }
    void disconetti_durante_la_programmazione()
    {
        QFETCH(bool, serie);
        QFETCH(int, byte);
        QFETCH(QStringList, visto);
        Giorno g;
        QVERIFY(g.inizia(serie));
        Banco& b = g.b;
        Sessione& s = g.s;
        b.finestra.testi[Campo::CodiceBrenk] = QStringLiteral("306");
        b.finestra.testi[Campo::FqTx] = QStringLiteral("440.9149"); // sent as 440.9125
        const qsizetype prima = b.ricevuti().size();
        s.programma(QStringLiteral("Programma"));
        QVERIFY(b.avanza_finche([&] { return b.ricevuti().size() - prima == byte; }));
        s.disconetti();
        QVERIFY(b.avanza_finche([&] { return !s.occupato(); }));
        const QStringList righe = g.righe();
        QCOMPARE(righe.size(), 3);
        QCOMPARE(righe[1].section(u',', 7, 7), QStringLiteral("440.9125"));
        QCOMPARE((QStringList{righe[1].section(u',', 4, 6), b.finestra.testi[Campo::CodiceBrenk]}), visto);
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{visto.first().section(u',', 0, 0)});
    }

    // The hands-free series after "Connetti" and "Programma" by hand for
    // code 300: each row the units plugged in one after the other (a new
    // one, the first one again, one that acknowledges no write), then what
    // the record holds and what the operator was told.
    void serie_automatica_data()
    {
        QTest::addColumn<QString>("unita");
        QTest::addColumn<QStringList>("registro");
        QTest::addColumn<QStringList>("detti");
        const QString verificato = QStringLiteral(
            "nota: Codice Brenk %1 verificato. Staccare il trasmettitore e collegare il prossimo; \"Disconetti\" "
            "termina la serie.");
        const QString fermo = QStringLiteral(
            "nota: Serie automatica ferma: controllare il trasmettitore, poi \"Programma\" per continuare.");
        const QString letto = QStringLiteral("nota: Serie: trasmettitore letto; la finestra mantiene i valori da "
                                             "programmare");
        QTest::newRow("nuovi")
            << QStringLiteral("nn") << QStringList{"Verificato,si,300", "Verificato,si,301", "Verificato,si,302"}
            << QStringList{letto, verificato.arg(300), letto, verificato.arg(301), letto, verificato.arg(302)};
        const QString gia = QStringLiteral("nota: Trasmettitore già registrato con il Codice Brenk 300: non "
                                           "riprogrammato. Staccarlo e collegare il prossimo.");
        QTest::newRow("il primo di nuovo")
            << QStringLiteral("pn") << QStringList{"Verificato,si,300", "Verificato,si,301"}
            << QStringList{letto, verificato.arg(300), letto, gia, letto, verificato.arg(301)};
        QTest::newRow("guasto") << QStringLiteral("gn") << QStringList{"Verificato,si,300", "Errore TIME OUT   ,no,301"}
                                << QStringList{letto, verificato.arg(300), letto, "Errore TIME OUT   ", fermo};
    }
    void serie_automatica()
    {
        QFETCH(QString, unita);
        QFETCH(QStringList, registro);
        QFETCH(QStringList, detti);
        Giorno g;
        QVERIFY(g.inizia(true));
        Banco& b = g.b;
        Sessione& s = g.s;
        s.imposta_automatica(true);
        b.finestra.testi[Campo::CodiceBrenk] = QStringLiteral("300");
        s.programma(QStringLiteral("Programma"));
        const auto in_attesa = [&] { return b.ricevuti().endsWith('E'); };
        QVERIFY(b.avanza_finche(in_attesa));
        const Memoria primo = b.tx().memoria();
        for (const QChar u : unita) {
            b.linea.togli();
            b.aspetta(2000);
            b.linea.collega(
                con_memoria(u == u'p' ? primo : memoria_predefinita(Contenuto::UHF),
                            [u](OpzioniSimulatore& o) { o.conferme_max = u == u'g' ? 0 : o.conferme_max; }));
            QVERIFY(b.avanza_finche([&] { return in_attesa() || !s.occupato(); }));
        }
        s.disconetti();
        QVERIFY(b.avanza_finche([&] { return !s.occupato(); }));
        QStringList righe = g.righe();
        for (QString& riga : righe)
            riga = riga.section(u',', 4, 6);
        QCOMPARE(righe.mid(1, righe.size() - 2), registro);
        QCOMPARE(b.finestra.detti, detti);
    }

    // The adapter pulled out under a write: the programming tells the port's
    // failure; the loss the device reports after it is not told again.
    void adattatore_staccato_durante_una_scrittura()
    {
        Banco b(Contenuto::UHF);
        Sessione s(b.finestra, b.linea.dispositivo(), b.orologio);
        s.connetti(QStringLiteral("Connetti"));
        QVERIFY(b.avanza_finche([&] { return !s.occupato(); }));
        b.linea.stacca_alla_scrittura(30);
        s.programma(QStringLiteral("Programma"));
        b.aspetta(5000);
        QVERIFY(b.linea.riagganciata() && !s.occupato());
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{"Errore di scrittura sulla porta virtuale 8020"});
    }
};

QTEST_GUILESS_MAIN(TestSessione)
#include "test_sessione.moc"
