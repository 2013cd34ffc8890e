// SPDX-License-Identifier: GPL-3.0-or-later
// Brenk_zelm: the configurator of the Brenk personal alarm transmitter.
// Starts on the title window; "Continua" opens the main window, "ESCI" ends.

#include "ui/avvisi_qt.h"
#include "ui/principale.h"
#include "ui/riga_di_comando.h"
#include "link/segnali.h"
#include "ui/titolo.h"

#include <QApplication>

int main(int argc, char** argv)
{
    brenk::SegnaliDiUscita::trattieni();
    brenk::RigaDiComando riga(argc, argv);
    QApplication app(argc, argv);
    if (const auto esito = riga.leggi(app))
        return *esito;
    QGuiApplication::setDesktopFileName(QStringLiteral("brenk-zelm"));

    brenk::AvvisiQt avvisi;
    brenk::Principale principale(avvisi);
    avvisi.appartiene_a(&principale);
    if (riga.file())
        principale.apri_al_caricamento(*riga.file());
    if (riga.registro())
        principale.usa_registro(*riga.registro());
    brenk::Titolo titolo(principale);
    QObject::connect(&principale, &brenk::Principale::uscita, &app, &QCoreApplication::quit);
    // The end of the user's session takes the way out of the window; if the
    // program is ended before that is over, the farewell goes at once.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &principale, &QWidget::close);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &principale, &brenk::Principale::congedo_immediato);
    titolo.show();
    return app.exec();
}
