// SPDX-License-Identifier: GPL-3.0-or-later
// Two configurators racing for one code, as two processes started together:
// fifty races on a new SQLite file and, when BRENK_PROVA_POSTGRES names a
// server, on PostgreSQL; each race for a new code has one winner and one
// refused, never two winners.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

class TestGaraCodici : public QObject {
    Q_OBJECT
private slots:
    void gare_data();
    void gare();
};

void TestGaraCodici::gare_data()
{
    QTest::addColumn<QString>("motore");
    QTest::newRow("sqlite") << "sqlite";
    QTest::newRow("postgres") << "postgres";
}

void TestGaraCodici::gare()
{
    QFETCH(QString, motore);
    const QString postgres = qEnvironmentVariable("BRENK_PROVA_POSTGRES");
    if (motore == u"postgres" && postgres.isEmpty())
        QSKIP("BRENK_PROVA_POSTGRES non indica un server PostgreSQL di prova");
    QTemporaryDir cartella;
    QVERIFY(cartella.isValid());
    const QString indirizzo = motore == u"sqlite" ? cartella.filePath(QStringLiteral("gara.sqlite")) : postgres;
    const QString sito = QStringLiteral("Gara ") + QUuid::createUuid().toString();
    for (int codice = 1; codice <= 50; ++codice) {
        QProcess gara[2];
        for (QProcess& p : gara)
            p.start(QStringLiteral(GARA_CODICI), {indirizzo, sito, QString::number(codice)});
        QList<int> esiti;
        QString detto;
        for (QProcess& p : gara) {
            QVERIFY(p.waitForFinished(60000));
            esiti << (p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1);
            detto += QString::fromUtf8(p.readAllStandardError());
        }
        std::sort(esiti.begin(), esiti.end());
        QVERIFY2(esiti == (QList<int>{0, 1}), qPrintable(QStringLiteral("codice %1: %2 %3\n%4")
                                                                .arg(codice).arg(esiti[0]).arg(esiti[1]).arg(detto)));
    }
}

QTEST_GUILESS_MAIN(TestGaraCodici)
#include "test_gara_codici.moc"
