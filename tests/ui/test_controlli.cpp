// SPDX-License-Identifier: GPL-3.0-or-later
// The entry checks without a screen: which tooltip text a refusal ends with.

#include "ui/controlli_ingresso.h"

#include <QtTest>

using namespace brenk;

class TestControlli : public QObject {
    Q_OBJECT

private slots:
    void suggerimento_data();
    void suggerimento();
};

void TestControlli::suggerimento_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso"); // empty: the field accepts the text

    QTest::newRow("codice, lettera") << "codice" << "1x" << "Solo cifre: 1 - 1023";
    QTest::newRow("codice 1024") << "codice" << "1024" << "Solo cifre: 1 - 1023";
    QTest::newRow("codice 1023") << "codice" << "1023" << "";
    QTest::newRow("codice 0, ancora da completare") << "codice" << "0" << "";
    QTest::newRow("tempo, lettera e oltre") << "tempo" << "9x99" << "Solo cifre: 0 - 255";
    QTest::newRow("tempo 256") << "tempo" << "256" << "Solo cifre: 0 - 255";
    QTest::newRow("tempo 255") << "tempo" << "255" << "";
    QTest::newRow("frequenza, virgola") << "frequenza" << "433,525" << "Frequenza in MHz con il punto: 433.525";
    QTest::newRow("frequenza, due errori") << "frequenza" << "4x3,5" << "Frequenza in MHz con il punto: 433.525";
    QTest::newRow("frequenza 433.525") << "frequenza" << "433.525" << "";
}

// A refusal carries exactly one tooltip, as its last action: taking the
// focus would otherwise close it again at once.
void TestControlli::suggerimento()
{
    QFETCH(QString, campo);
    QFETCH(QString, testo);
    QFETCH(QString, atteso);

    const auto azioni = campo == "frequenza" ? controllo_frequenza(testo)
                                             : controllo_cifre(testo, campo == "codice" ? Intervallo{1, 1023}
                                                                                        : Intervallo{0, 255});
    const auto suggerimenti =
        std::count_if(azioni.begin(), azioni.end(), [](const Azione& a) { return a.tipo == Azione::Suggerimento; });
    if (atteso.isEmpty()) {
        QVERIFY(azioni.empty());
        return;
    }
    QCOMPARE(suggerimenti, 1);
    QCOMPARE(azioni.back().tipo, Azione::Suggerimento);
    QCOMPARE(azioni.back().testo, atteso);
}

QTEST_GUILESS_MAIN(TestControlli)
#include "test_controlli.moc"
