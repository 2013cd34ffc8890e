// brenk-zelm and brenk-sim started from a terminal: help, version, an
// unknown option, and a session without a screen.
//
// Every run but one has no screen at all: no DISPLAY, no WAYLAND_DISPLAY and
// no QT_QPA_PLATFORM. A program that created its window system there would
// abort (exit 134), so a clean exit with the expected text also shows that
// no window was ever opened.

#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

struct Esito {
    int codice = -1;
    QString uscita;
    QString errori;
};

QProcessEnvironment senza_schermo()
{
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    for (const char* nome : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        ambiente.remove(QString::fromLatin1(nome));
    return ambiente;
}

Esito esegui(const QString& programma, const QStringList& argomenti, const QProcessEnvironment& ambiente)
{
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.start(programma, argomenti);
    Esito e;
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished();
        return e;
    }
    e.codice = p.exitCode();
    e.uscita = QString::fromUtf8(p.readAllStandardOutput());
    e.errori = QString::fromUtf8(p.readAllStandardError());
    return e;
}

const QString zelm = QStringLiteral(BRENK_ZELM);
const QString sim = QStringLiteral(BRENK_SIM);

} // namespace

class TestRigaDiComando : public QObject {
    Q_OBJECT

private slots:
    void risposte_senza_finestra_data();
    void risposte_senza_finestra();
    void aiuto_del_simulatore();
    void configuratore_senza_schermo();
    void opzione_sconosciuta();
    void simulatore_senza_schermo();
};

void TestRigaDiComando::risposte_senza_finestra_data()
{
    QTest::addColumn<QString>("programma");
    QTest::addColumn<QStringList>("argomenti");
    QTest::addColumn<QString>("atteso"); // %1 stands for the program's path

    const QString aiuto_zelm = QStringLiteral(
        "Usage: %1 [options]\n"
        "Configuratore del trasmettitore radio di allarme Brenk: legge, modifica e\n"
        "programma i suoi parametri sulla porta seriale.\n"
        "\n"
        "Options:\n"
        "  -h, --help     Displays help on commandline options.\n"
        "  --help-all     Displays help including Qt specific options.\n"
        "  -v, --version  Displays version information.\n");
    QTest::newRow("brenk-zelm --version") << zelm << QStringList{"--version"} << "brenk-zelm 1.0.5\n";
    QTest::newRow("brenk-zelm -v") << zelm << QStringList{"-v"} << "brenk-zelm 1.0.5\n";
    QTest::newRow("brenk-zelm --help") << zelm << QStringList{"--help"} << aiuto_zelm;
    QTest::newRow("brenk-zelm -h") << zelm << QStringList{"-h"} << aiuto_zelm;
    // Qt's own one-dash options are not read as bundles of -h and -v.
    QTest::newRow("brenk-zelm -stylesheet x --version")
        << zelm << QStringList{"-stylesheet", "x", "--version"} << "brenk-zelm 1.0.5\n";
    QTest::newRow("brenk-sim --version") << sim << QStringList{"--version"} << "brenk-sim 1.0.5\n";
    QTest::newRow("brenk-sim -v") << sim << QStringList{"-v"} << "brenk-sim 1.0.5\n";
}

void TestRigaDiComando::risposte_senza_finestra()
{
    QFETCH(QString, programma);
    QFETCH(QStringList, argomenti);
    QFETCH(QString, atteso);

    const Esito e = esegui(programma, argomenti, senza_schermo());
    QCOMPARE(e.codice, 0);
    QCOMPARE(e.uscita, atteso.replace(QStringLiteral("%1"), programma));
    QCOMPARE(e.errori, QString());
}

// The simulator's help names every option, the version and the faults among
// them, each with the start of its description.
void TestRigaDiComando::aiuto_del_simulatore()
{
    const Esito e = esegui(sim, {"--help"}, senza_schermo());
    QCOMPARE(e.codice, 0);
    const QStringList righe = e.uscita.split(u'\n');
    QCOMPARE(righe.at(0), QStringLiteral("Usage: %1 [options]").arg(sim));
    const std::pair<const char*, const char*> opzioni[] = {
        {"-h, --help", "Displays help on commandline options."},
        {"-v, --version", "Displays version information."},
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
        const QRegularExpression riga(QStringLiteral("^  %1 +%2").arg(QRegularExpression::escape(opzione),
                                                                      QRegularExpression::escape(descrizione)));
        QVERIFY2(righe.indexOf(riga) >= 0, opzione);
    }
}

void TestRigaDiComando::configuratore_senza_schermo()
{
    const Esito e = esegui(zelm, {}, senza_schermo());
    QCOMPARE(e.codice, 1);
    QCOMPARE(e.uscita, QString());
    QCOMPARE(e.errori, QStringLiteral("brenk-zelm: nessuno schermo su cui aprire la finestra "
                                      "(DISPLAY e WAYLAND_DISPLAY non impostati)\n"));
}

// A platform named on the command line is a screen; an option neither the
// program nor Qt knows then ends the program before any window shows.
void TestRigaDiComando::opzione_sconosciuta()
{
    const Esito e = esegui(zelm, {"-platform", "offscreen", "--nessuna"}, senza_schermo());
    QCOMPARE(e.codice, 1);
    QCOMPARE(e.uscita, QString());
    QVERIFY2(e.errori.split(u'\n').contains(QStringLiteral("brenk-zelm: Unknown option 'nessuna'.")),
             qPrintable(e.errori));
}

// The simulator needs no screen: it starts and names its device.
void TestRigaDiComando::simulatore_senza_schermo()
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

QTEST_GUILESS_MAIN(TestRigaDiComando)
#include "test_riga_di_comando.moc"
