// Brenk_zelm: the configurator of the Brenk personal alarm transmitter.
// Starts on the title window; "Continua" opens the main window, "ESCI" ends.

#include "ui/avvisi_qt.h"
#include "ui/principale.h"
#include "ui/titolo.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    brenk::AvvisiQt avvisi;
    brenk::Principale principale(avvisi);
    brenk::Titolo titolo(principale);
    QObject::connect(&principale, &brenk::Principale::uscita, &app, &QCoreApplication::quit);
    titolo.show();
    return app.exec();
}
