// SPDX-License-Identifier: GPL-3.0-or-later
// brenk-zelm and brenk-sim started from a terminal: help, version, usage
// errors, and a session without a screen.
//
// Every run has no screen at all (no DISPLAY, no WAYLAND_DISPLAY and no
// QT_QPA_PLATFORM) or a DISPLAY or WAYLAND_DISPLAY that nothing answers.
// A program that created its window system there would abort (exit 134), so
// a clean exit with the expected text also shows that no window was ever
// opened.

#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

struct Esito {
    int codice = -1;
    QString uscita;
    QString errori;
};

// `display`, when not empty, is a DISPLAY that no X server answers, or
// "WAYLAND_DISPLAY=" and a socket that no compositor answers.
QProcessEnvironment senza_schermo(const QString& display = {})
{
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char* nome : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        ambiente.remove(QString::fromLatin1(nome));
    const qsizetype uguale = display.indexOf(u'=');
    if (!display.isEmpty())
        ambiente.insert(uguale < 0 ? QStringLiteral("DISPLAY") : display.left(uguale), display.mid(uguale + 1));
    return ambiente;
}

Esito esegui(const QString& programma, const QStringList& argomenti, const QProcessEnvironment& ambiente)
{
    QProcess p; // killed with it, if still running
    p.setProcessEnvironment(ambiente);
    p.start(programma, argomenti);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

const QString zelm = QStringLiteral(BRENK_ZELM);
const QString sim = QStringLiteral(BRENK_SIM);

} // namespace

class TestRigaDiComando : public QObject {
    Q_OBJECT

private slots:
    void risposte_senza_finestra_data()
    {
        QTest::addColumn<QString>("programma");
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("display"); // empty: none at all
        QTest::addColumn<int>("codice");
        QTest::addColumn<QString>("uscita"); // %1 stands for the program's path
        QTest::addColumn<QString>("errori");
        const QString aiuto = QStringLiteral(
            "Utilizzo: %1 [opzioni]\n"
            "Configuratore del trasmettitore radio di allarme Brenk: legge, modifica e\n"
            "programma i suoi parametri sulla porta seriale.\n"
            "\n"
            "Opzioni:\n"
            "  -h, --help             Mostra l'aiuto sulle opzioni della riga di comando.\n"
            "  --help-all             Mostra l'aiuto con anche le opzioni proprie di Qt.\n"
            "  -v, --version          Mostra le informazioni sulla versione.\n"
            "  --registro <FILE|URL>  Il registro dei codici: un file (SQLite) o un server,\n"
            "                         postgresql://utente@host/database.\n");
        const QString versione = QStringLiteral(
            " 1.0.5\n"
            "Software libero con licenza GPL-3.0-or-later (GNU GPL, versione 3 o successiva):\n"
            "lo si può ridistribuire e modificare; non c'è alcuna garanzia.\n" BRENK_SITO "\n");
        const QString senza_schermo = QStringLiteral("brenk-zelm: nessuno schermo su cui aprire la finestra ");
        const QString nessuno = QStringLiteral(":99999");
        // Named after the command line; the text is the standard output of a
        // run that succeeds, the standard error of one that does not.
        const auto riga = [](const QString& programma, const QStringList& argomenti, const QString& display, int codice,
                             const QString& testo) {
            QString nome = (QStringList{QFileInfo(programma).fileName()} + argomenti).join(u' ');
            if (!display.isEmpty())
                nome += (display.contains(u'=') ? ", " : ", DISPLAY=") + display;
            QTest::newRow(qPrintable(nome)) << programma << argomenti << display << codice
                                            << (codice == 0 ? testo : QString()) << (codice == 0 ? QString() : testo);
        };
        riga(zelm, {"--version"}, {}, 0, "brenk-zelm" + versione);
        riga(zelm, {"-v"}, {}, 0, "brenk-zelm" + versione);
        riga(zelm, {"--help"}, {}, 0, aiuto);
        riga(zelm, {"-h"}, nessuno, 0, aiuto);
        // Qt's own one-dash options are not read as bundles of -h and -v.
        riga(zelm, {"-stylesheet", "x", "--version"}, {}, 0, "brenk-zelm" + versione);
        riga(zelm, {}, {}, 1, senza_schermo + "(DISPLAY e WAYLAND_DISPLAY non impostati)\n");
        riga(zelm, {}, nessuno, 1, senza_schermo + "(lo schermo indicato non risponde)\n");
        riga(zelm, {}, "WAYLAND_DISPLAY=brenk-nessuno", 1, senza_schermo + "(lo schermo indicato non risponde)\n");
        riga(zelm, {"--nessuna"}, nessuno, 2, "brenk-zelm: Opzione sconosciuta 'nessuna'.\n");
        riga(zelm, {"-platform", "offscreen", "--nessuna"}, {}, 2, "brenk-zelm: Opzione sconosciuta 'nessuna'.\n");
        riga(zelm, {"pippo"}, {}, 2, "brenk-zelm: argomento inatteso 'pippo'.\n");
        riga(zelm, {"SITO.BRENK"}, {}, 1, senza_schermo + "(DISPLAY e WAYLAND_DISPLAY non impostati)\n");
        riga(zelm, {"a.brenk", "b.brenk"}, {}, 2, "brenk-zelm: argomento inatteso 'b.brenk'.\n");
        riga(sim, {"--version"}, {}, 0, "brenk-sim" + versione);
        riga(sim, {"-v"}, {}, 0, "brenk-sim" + versione);
        riga(sim, {"--nessuna"}, {}, 2, "brenk-sim: Opzione sconosciuta 'nessuna'.\n");
        riga(sim, {"pippo"}, {}, 2, "brenk-sim: argomento inatteso 'pippo'.\n");
        riga(sim, {"--rumore", "abc"}, {}, 2, "brenk-sim: --rumore abc: serve un numero intero da 1 a 2147483647\n");
        riga(sim, {"--conferme-max", "99999999999"}, {}, 2,
             "brenk-sim: --conferme-max 99999999999: serve un numero intero da 0 a 2147483647\n");
        riga(sim, {"--indirizzo-guasto", "64"}, {}, 2,
             "brenk-sim: --indirizzo-guasto 64: serve un numero intero da 0 a 63\n");
        riga(sim, {"--conferma-ritardata", "3"}, {}, 2,
             "brenk-sim: --conferma-ritardata 3: serve n:ms, due numeri interi da 0 a 2147483647\n");
        riga(sim, {"--memoria", "/dev/null"}, {}, 2,
             "brenk-sim: --memoria /dev/null: serve zeri, uhf, vhf, vecchio oppure un file di 64 byte "
             "(/dev/null: servono esattamente 64 byte)\n");
    }
    void risposte_senza_finestra()
    {
        QFETCH(QString, programma);
        QFETCH(QStringList, argomenti);
        QFETCH(QString, display);
        QFETCH(int, codice);
        QFETCH(QString, uscita);
        QFETCH(QString, errori);
        const Esito e = esegui(programma, argomenti, senza_schermo(display));
        QCOMPARE(e.errori, errori);
        QCOMPARE(e.uscita, uscita.replace(QStringLiteral("%1"), programma));
        QCOMPARE(e.codice, codice);
    }

    // The simulator's help names every option, the version and the faults among
    // them, each with the start of its description.
    void aiuto_del_simulatore()
    {
        const Esito e = esegui(sim, {"--help"}, senza_schermo());
        QCOMPARE(e.codice, 0);
        const QStringList righe = e.uscita.split(u'\n');
        QCOMPARE(righe.at(0), QStringLiteral("Utilizzo: %1 [opzioni]").arg(sim));
        const std::pair<const char*, const char*> opzioni[] = {
            {"-h, --help", "Mostra l'aiuto sulle opzioni della riga di"},
            {"-v, --version", "Mostra le informazioni sulla versione."},
            {"--memoria <tipo>", "Contenuto della memoria: zeri, uhf, vhf, vecchio"},
            {"--registro", "Stampa ogni byte ricevuto in esadecimale con il"},
            {"--latenza-adattatore <ms>", "Come un adattatore USB: i byte verso il PC"},
            {"--conferma-ritardata <n:ms>", "Guasto: la conferma della scrittura numero <n>"},
            {"--annunci-da-collegato", "Guasto: anche da collegato annuncia \"K\" quando"},
            {"--rumore <ms>", "Guasto: da collegato invia un byte di disturbo"},
            {"--byte-rumore <byte>", "Il byte di disturbo di --rumore, da 0 a 255."},
            {"--indirizzo-guasto <n>", "Guasto: l'indirizzo <n> memorizza il valore"},
        };
        for (const auto& [opzione, descrizione] : opzioni) {
            const QRegularExpression riga(
                QStringLiteral("^  %1 +%2")
                    .arg(QRegularExpression::escape(opzione), QRegularExpression::escape(descrizione)));
            QVERIFY2(righe.indexOf(riga) >= 0, opzione);
        }
    }

    // The simulator needs no screen: it starts and names its device.
    void simulatore_senza_schermo()
    {
        QProcess p;
        p.setProcessEnvironment(senza_schermo());
        p.start(sim, {});
        QTRY_VERIFY(p.canReadLine());
        QVERIFY(p.readLine().startsWith("/dev/"));
        ::kill(pid_t(p.processId()), SIGTERM);
        QTRY_COMPARE(p.state(), QProcess::NotRunning);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
    }

    // A run that uses no file feature leaves its home and XDG folders as empty
    // as it found them.
    void nulla_sul_disco()
    {
        QTemporaryDir casa;
        QProcessEnvironment ambiente = senza_schermo();
        for (const char* nome : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            ambiente.insert(QString::fromLatin1(nome), casa.path());
        QProcess p;
        p.setProcessEnvironment(ambiente);
        p.start(zelm, {"-platform", "offscreen"});
        QVERIFY(p.waitForStarted());
        QTest::qWait(1500);
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QDir(casa.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestRigaDiComando)
#include "test_riga_di_comando.moc"
