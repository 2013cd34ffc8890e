// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated line dropped and back, as with a pulled adapter.

#include "banco_simulatore.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

using brenk::Contenuto;
using brenk::Simulatore;

class TestRiaggancio : public BancoSimulatore {
    Q_OBJECT

private slots:
    void riaggancio_data()
    {
        QTest::addColumn<Simulatore::Opzioni>("opzioni");
        QTest::addColumn<QByteArray>("invio");    // after the first write; with riaggancia_dopo, its drop
        QTest::addColumn<QByteArray>("in_linea"); // on its way when the line drops: the PC may see a part
        using O = Simulatore::Opzioni;
        const auto m = brenk::memoria_predefinita(Contenuto::UHF);
        QTest::newRow("a comando") << O{.memoria = m} << QByteArray() << QByteArray();
        // The drop on "L", "W", 5, 9, "R", 0.
        QTest::newRow("dopo n byte") << O{.memoria = m, .riaggancia_dopo = 6} << byte({'R', 0}) << QByteArray();
        // Held at the drop: the acknowledgement of write 1, put off (an "X", not
        // to be taken for an announcement), and the reply to "R", 0 in the adapter.
        QTest::newRow("conferma in ritardo, risposta nell'adattatore")
            << O{.memoria = m,
                 .latenza_adattatore_ms = 20,
                 .riaggancia_dopo = 10,
                 .risposte_sostituite = {{1, "X"}},
                 .conferme_ritardate = {{1, 300}}}
            << byte({'W', 6, 1, 'R', 0, 'R', 1}) << QByteArray();
        // Paced: the acknowledgement on its way out, the last 0 on its way in.
        QTest::newRow("byte in linea")
            << O{.memoria = m, .riaggancia_dopo = 8, .risposte_sostituite = {{1, "ABCDEFGH"}}}
            << byte({'W', 6, 1, 'R', 0}) << QByteArray("ABCDEFGH");
        // Answering late: the acknowledgement still to come, "R" waiting its turn.
        QTest::newRow("risposta lenta")
            << O{.memoria = m, .riaggancia_dopo = 9, .risposte_sostituite = {{1, "X"}}, .ritardo_risposte_ms = 100}
            << byte({'W', 6, 1, 'R', 0}) << QByteArray();
    }

    // The PC's port fails as with a pulled adapter; ritorna() brings back a
    // device, behind the same link, that holds the memory written before,
    // and nothing of what was on its way.
    void riaggancio()
    {
        QFETCH(Simulatore::Opzioni, opzioni);
        QFETCH(QByteArray, invio);
        QFETCH(QByteArray, in_linea);
        QTemporaryDir cartella;
        QVERIFY(cartella.isValid());
        const QString link = cartella.filePath("com1");
        opzioni.link = link;
        QVERIFY(avvia(opzioni));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim->dispositivo());
        QSignalSpy riagganciato(sim.get(), &Simulatore::riagganciato);
        qsizetype inviati = 0, ricevuti = 0; // up to the drop
        connect(sim.get(), &Simulatore::riagganciato, this, [&] {
            inviati = sim->inviati().size();
            ricevuti = sim->ricevuti().size();
        });
        QVERIFY(collega());

        pc->scrivi(byte({'W', 5, 9}));
        QTRY_COMPARE(pc->arrivati, QByteArray("K"));
        if (opzioni.riaggancia_dopo)
            pc->scrivi(invio);
        else
            sim->riaggancia();
        QTRY_VERIFY(pc->errore != QSerialPort::NoError);
        QCOMPARE(riagganciato.count(), 1);
        QVERIFY2(pc->arrivati.startsWith('K') && ("K" + in_linea).startsWith(pc->arrivati), pc->arrivati.constData());
        QVERIFY(sim->dispositivo().isEmpty());
        QVERIFY(!sim->collegato());

        QString errore;
        QVERIFY2(sim->ritorna(&errore), qPrintable(errore));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim->dispositivo());
        nuovo_pc(link);
        QVERIFY(collega());
        pc->scrivi(byte({'R', 5, 'R', 0}));
        QTRY_COMPARE(pc->arrivati, byte({9, 30}));
        QTest::qWait(300); // what was put off before the drop would be out by now
        const QByteArray dopo = sim->inviati().mid(inviati);
        QCOMPARE(dopo, QByteArray(dopo.size() - 2, 'K') + byte({9, 30}));
        QCOMPARE(sim->ricevuti().mid(ricevuti), byte({'L', 'R', 5, 'R', 0}));

        pc.reset();
        sim.reset();
        QVERIFY(!QFileInfo(link).isSymLink());
    }
};

QTEST_GUILESS_MAIN(TestRiaggancio)
#include "test_riaggancio.moc"
