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
        QTemporaryDir cartella;
        Banco b(Contenuto::UHF);
        Sessione s(b.finestra, b.linea.dispositivo(), b.orologio);
        QVERIFY(s.usa_registro(cartella.filePath(QStringLiteral("registro.sqlite"))));
        s.imposta_serie(serie); // on an empty window: the read gives the site's values
        s.connetti(QStringLiteral("Connetti"));
        QVERIFY(b.avanza_finche([&] { return !s.occupato(); }));
        b.finestra.testi[Campo::CodiceBrenk] = QStringLiteral("306");
        b.finestra.testi[Campo::FqTx] = QStringLiteral("440.9149"); // sent as 440.9125
        const qsizetype prima = b.ricevuti().size();
        s.programma(QStringLiteral("Programma"));
        QVERIFY(b.avanza_finche([&] { return b.ricevuti().size() - prima == byte; }));
        s.disconetti();
        QVERIFY(b.avanza_finche([&] { return !s.occupato(); }));
        QFile registro(cartella.filePath(QStringLiteral("registro.csv")));
        QVERIFY(!s.giornata().esporta_csv(registro.fileName()) && registro.open(QIODevice::ReadOnly));
        const QStringList righe = QString::fromUtf8(registro.readAll()).split(QStringLiteral("\r\n"));
        QCOMPARE(righe.size(), 3);
        QCOMPARE(righe[1].section(u',', 7, 7), QStringLiteral("440.9125"));
        QCOMPARE((QStringList{righe[1].section(u',', 4, 6), b.finestra.testi[Campo::CodiceBrenk]}), visto);
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{visto.first().section(u',', 0, 0)});
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
