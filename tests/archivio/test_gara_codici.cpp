// SPDX-License-Identifier: GPL-3.0-or-later
// Two configurators racing for one code, as two processes started together: fifty races on a new
// SQLite file and on the PostgreSQL server BRENK_PROVA_POSTGRES names, each for a new code, each
// with one winner and one refused.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

class TestGaraCodici : public QObject {
    Q_OBJECT
private slots:
    void gare_data()
    {
        QTest::addColumn<QString>("motore");
        QTest::newRow("sqlite") << "sqlite";
        QTest::newRow("postgres") << "postgres";
    }
    void gare()
    {
        QFETCH(QString, motore);
        const QString postgres = qEnvironmentVariable("BRENK_PROVA_POSTGRES");
        if (motore == u"postgres" && postgres.isEmpty())
            QSKIP("BRENK_PROVA_POSTGRES non indica un server PostgreSQL di prova");
        QTemporaryDir cartella;
        const QStringList indirizzo_sito{motore == u"sqlite" ? cartella.filePath("gara.sqlite") : postgres,
                                         "Gara " + QUuid::createUuid().toString()};
        for (int codice = 1; codice <= 50; ++codice) {
            QProcess gara[2];
            for (QProcess& p : gara)
                p.start(GARA_CODICI, indirizzo_sito + QStringList{QString::number(codice)});
            QList<int> esiti;
            QString detto;
            for (QProcess& p : gara) {
                esiti << (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1);
                detto += p.readAllStandardError();
            }
            std::sort(esiti.begin(), esiti.end());
            QVERIFY2(esiti == (QList<int>{0, 1}),
                     qPrintable(u"codice %1: %2 %3\n"_qs.arg(codice).arg(esiti[0]).arg(esiti[1]) + detto));
        }
    }
};

QTEST_GUILESS_MAIN(TestGaraCodici)
#include "test_gara_codici.moc"
