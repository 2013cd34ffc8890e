// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/riga_di_comando.h"

#include "archivio/file_parametri.h"
#include "programma.h"
#include "ui/testi.h"

#include <QCommandLineParser>

#include <cstdio>

namespace brenk {

namespace {

// Qt's messages while QApplication starts, formatted as Qt would print them.
QByteArrayList trattenuti;

#ifndef Q_OS_WIN

void trattieni(QtMsgType tipo, const QMessageLogContext& contesto, const QString& testo)
{
    trattenuti << (qFormatLogMessage(tipo, contesto, testo) + u'\n').toLocal8Bit();
}

// Qt's own option words naming a platform; the value follows.
bool nomina_piattaforma(const char* argomento)
{
    return qstrcmp(argomento, "-platform") == 0 || qstrcmp(argomento, "--platform") == 0;
}

// The platforms named on the command line (which comes first for Qt) or in
// QT_QPA_PLATFORM; empty when none is.
QByteArray piattaforme_chieste(int argc, char** argv)
{
    for (int i = argc - 2; i > 0; --i) {
        if (nomina_piattaforma(argv[i]))
            return argv[i + 1];
    }
    return qgetenv("QT_QPA_PLATFORM");
}

// The session's own, as Qt would choose it.
QByteArray piattaforme_della_sessione()
{
    return qgetenv("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb;wayland";
}
#endif

void scrivi(const QString& riga)
{
    std::fputs(qPrintable(QStringLiteral("brenk-zelm: %1\n").arg(riga)), stderr);
}

void prepara(QCommandLineParser& riga)
{
    QCoreApplication::setApplicationName(QStringLiteral("brenk-zelm"));
    QCoreApplication::setApplicationVersion(testo_versione());
    riga.setApplicationDescription(descrizione_programma);
    // Qt's own options are single-dash words (-platform, -stylesheet): they
    // must not read as bundles of one-letter options such as -h or -v.
    riga.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    riga.addHelpOption();
    riga.addVersionOption();
    riga.addOption({QStringLiteral("registro"), opzione_registro, QStringLiteral("FILE|URL")});
}

} // namespace

RigaDiComando::RigaDiComando([[maybe_unused]] int argc, [[maybe_unused]] char** argv)
{
#ifndef Q_OS_WIN
    const QByteArray chieste = piattaforme_chieste(argc, argv);
    schermo_indicato_ = !chieste.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY")
                        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (schermo_indicato_)
        piattaforme_ = chieste.isEmpty() ? piattaforme_della_sessione() : chieste;
    elenco_ = piattaforme_ + ";offscreen";
    qputenv("QT_QPA_PLATFORM", elenco_);
    for (int i = 1; i + 1 < argc; ++i) {
        if (nomina_piattaforma(argv[i]))
            argv[i + 1] = elenco_.data();
    }
    qInstallMessageHandler(trattieni);
#endif
}

std::optional<int> RigaDiComando::leggi(QApplication& app)
{
    qInstallMessageHandler(nullptr);
    parla_italiano();
    QCommandLineParser riga;
    prepara(riga);
    if (!riga.parse(QCoreApplication::arguments())) {
        scrivi(riga.errorText());
        return 2;
    }
    // One parameter file may follow the options; nothing else may.
    QStringList argomenti = riga.positionalArguments();
    if (!argomenti.isEmpty() && argomenti.constFirst().endsWith(u'.' + estensione_parametri, Qt::CaseInsensitive))
        file_ = argomenti.takeFirst();
    if (!argomenti.isEmpty()) {
        scrivi(argomento_inatteso.arg(argomenti.constFirst()));
        return 2;
    }
    if (riga.isSet(QStringLiteral("registro")))
        registro_ = riga.value(QStringLiteral("registro"));
    for (const char* risposta : {"help", "help-all", "version"}) {
        if (riga.isSet(QLatin1String(risposta)))
            riga.process(app); // answers and ends
    }
    if (!schermo_trovato()) {
        scrivi(schermo_indicato_ ? schermo_muto : schermo_assente);
        return 1;
    }
    for (const QByteArray& messaggio : std::as_const(trattenuti))
        std::fputs(messaggio.constData(), stderr);
    return std::nullopt;
}

// Windows always has its desktop; elsewhere the platform Qt started must be
// one of those asked for, not the "offscreen" it fell back on.
bool RigaDiComando::schermo_trovato() const
{
#ifdef Q_OS_WIN
    return true;
#else
    const QByteArray avviata = QGuiApplication::platformName().toUtf8();
    for (const QByteArray& piattaforma : piattaforme_.split(';')) {
        if (piattaforma.split(':').constFirst() == avviata)
            return true;
    }
    return false;
#endif
}

} // namespace brenk
