// Brenk_zelm: the configurator of the Brenk personal alarm transmitter.
// Starts on the title window; "Continua" opens the main window, "ESCI" ends.

#include "ui/avvisi_qt.h"
#include "ui/principale.h"
#include "ui/segnali.h"
#include "ui/titolo.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

void prepara(QCommandLineParser& riga)
{
    QCoreApplication::setApplicationName(QStringLiteral("brenk-zelm"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRENK_VERSIONE));
    riga.setApplicationDescription(QStringLiteral(
        "Configuratore del trasmettitore radio di allarme Brenk: legge, modifica e\n"
        "programma i suoi parametri sulla porta seriale."));
    // Qt's own options are single-dash words (-platform, -stylesheet): they
    // must not read as bundles of one-letter options such as -h or -v.
    riga.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    riga.addHelpOption();
    riga.addVersionOption();
}

QStringList argomenti(int argc, char** argv)
{
    QStringList a;
    for (int i = 0; i < argc; ++i)
        a << QString::fromLocal8Bit(argv[i]);
    return a;
}

// Help and version need no window system: a plain QCoreApplication gives the
// help its program path, and both end the process. Anything else is left for
// after QApplication has taken its own options out.
void rispondi_senza_finestra(QCommandLineParser& riga, const QStringList& dati, int& argc, char** argv)
{
    riga.parse(dati);
    const bool versione = riga.isSet(QStringLiteral("version"));
    if (!versione && !riga.isSet(QStringLiteral("help")))
        return;
    QCoreApplication app(argc, argv);
    if (versione)
        riga.showVersion();
    riga.showHelp();
}

// Without a screen QApplication aborts. On Windows the desktop is always
// there; elsewhere a screen is there when a platform is named
// (QT_QPA_PLATFORM, -platform, -display) or the session has an X11 or Wayland
// display.
bool schermo_disponibile([[maybe_unused]] const QStringList& argomenti)
{
#ifdef Q_OS_WIN
    return true;
#else
    for (const char* opzione : {"-platform", "--platform", "-display", "--display"}) {
        if (argomenti.contains(QLatin1String(opzione)))
            return true;
    }
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}

} // namespace

int main(int argc, char** argv)
{
    brenk::SegnaliDiUscita::trattieni();
    QCommandLineParser riga;
    prepara(riga);
    const QStringList dati = argomenti(argc, argv);
    rispondi_senza_finestra(riga, dati, argc, argv);
    if (!schermo_disponibile(dati)) {
        std::fputs("brenk-zelm: nessuno schermo su cui aprire la finestra "
                   "(DISPLAY e WAYLAND_DISPLAY non impostati)\n", stderr);
        return 1;
    }

    QApplication app(argc, argv);
    // Qt has taken its own options out: anything left that is unknown ends here.
    riga.process(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("brenk-zelm"));

    brenk::AvvisiQt avvisi;
    brenk::Principale principale(avvisi);
    avvisi.appartiene_a(&principale);
    brenk::Titolo titolo(principale);
    QObject::connect(&principale, &brenk::Principale::uscita, &app, &QCoreApplication::quit);
    // The end of the user's session takes the way out of the window; if the
    // program is ended before that is over, the farewell goes at once.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &principale, &QWidget::close);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &principale, &brenk::Principale::congedo_immediato);
    titolo.show();
    return app.exec();
}
