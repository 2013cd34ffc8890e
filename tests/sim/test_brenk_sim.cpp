// SPDX-License-Identifier: GPL-3.0-or-later
// The brenk-sim program as people run it: a process that prints its device
// first, reports what happens on the line, and ends cleanly on a signal.

#include "pc_seriale.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class TestBrenkSim : public QObject {
    Q_OBJECT

private slots:
    void sessione_data()
    {
        QTest::addColumn<int>("segnale");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void sessione()
    {
        QFETCH(int, segnale);
        QTemporaryDir cartella;
        QVERIFY(cartella.isValid());
        const QString link = cartella.filePath("com1");
        QProcess sim;
        sim.start(BRENK_SIM, {"--memoria", "vhf", "--link", link, "--registro"});
        QTRY_VERIFY(sim.canReadLine());
        const QString dispositivo = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY(dispositivo.startsWith("/dev/"));
        QCOMPARE(QFileInfo(link).symLinkTarget(), dispositivo);

        PcSeriale pc(link);
        QVERIFY(pc.apri());
        pc.collega();
        QTRY_VERIFY(pc.arrivati.endsWith('K'));
        pc.arrivati.clear();
        pc.scrivi("R>Q");
        QTRY_COMPARE(pc.arrivati, QByteArray("V"));
        QByteArray uscita;
        QTRY_VERIFY((uscita += sim.readAll()).contains("Trasmissione di prova ricevuta\nScollegato\n"));
        QVERIFY(uscita.contains("\nCollegato\n"));
        for (const char* ricevuto : {"  4C\n", "  52\n", "  3E\n", "  51\n"})
            QVERIFY2(uscita.contains(ricevuto), ricevuto);

        ::kill(pid_t(sim.processId()), segnale);
        QTRY_COMPARE(sim.state(), QProcess::NotRunning);
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
    }

    void argomenti_errati_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::newRow("numero non valido") << QStringList{"--conferme-max", "due"};
        QTest::newRow("numero negativo") << QStringList{"--riaggancia-dopo", "-1"};
        QTest::newRow("file mancante") << QStringList{"--memoria", "/nessun/file/simile"};
        QTest::newRow("ritardo senza millisecondi") << QStringList{"--conferma-ritardata", "5"};
        QTest::newRow("ritardo negativo") << QStringList{"--conferma-ritardata", "5:-3"};
        QTest::newRow("rumore ogni 0 ms") << QStringList{"--rumore", "0"};
        QTest::newRow("byte di rumore oltre 255") << QStringList{"--byte-rumore", "256"};
    }

    void argomenti_errati()
    {
        QFETCH(QStringList, argomenti);
        QProcess sim;
        sim.start(BRENK_SIM, argomenti);
        QTRY_COMPARE(sim.state(), QProcess::NotRunning);
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardOutput().isEmpty());
        QVERIFY(sim.readAllStandardError().startsWith("brenk-sim: "));
    }
};

QTEST_GUILESS_MAIN(TestBrenkSim)
#include "test_brenk_sim.moc"
