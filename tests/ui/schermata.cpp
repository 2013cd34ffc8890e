// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the picture of the main window for the documentation: the window
// connected to a simulated UHF transmitter, its parameters read, and with
// "programma" also programmed and verified; with "giornata" a site's file
// opened first, "Serie" and "Registro" on, then programmed.
// Usage: schermata_principale FILE.png [programma | giornata SITO.brenk]

#include "simulatore.h"

#include "ops/operazioni.h"
#include "ui/avvisi_qt.h"
#include "ui/principale.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace brenk;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool giornata = argc == 4 && QByteArray(argv[2]) == "giornata";
    if (argc != 2 && !(argc == 3 && QByteArray(argv[2]) == "programma") && !giornata) {
        std::fprintf(stderr, "uso: %s FILE.png [programma | giornata SITO.brenk]\n", argv[0]);
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    bool da_programmare = argc >= 3;

    Simulatore::Opzioni opzioni;
    opzioni.memoria = memoria_predefinita(Contenuto::UHF);
    Simulatore simulatore(opzioni);
    QString errore;
    if (!simulatore.avvia(&errore)) {
        std::fprintf(stderr, "%s\n", qPrintable(errore));
        return 1;
    }
    qputenv("BRENK_COM1", simulatore.dispositivo().toLocal8Bit());

    AvvisiQt avvisi;
    Principale principale(avvisi);
    principale.show();
    // The day's settings stay out of the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir cartella;
    if (giornata) {
        principale.apri_file(QString::fromLocal8Bit(argv[3]));
        principale.findChild<QCheckBox*>("Chk_serie")->setChecked(true);
        principale.usa_registro(cartella.filePath(QStringLiteral("impianto.sqlite")));
    }
    QTimer::singleShot(300, principale.findChild<QPushButton*>("Cmd_connetti"), &QPushButton::click);

    // Once the read is over and a few status ticks have passed, take the picture.
    int esito = 1;
    QTimer controllo;
    QObject::connect(&controllo, &QTimer::timeout, &principale, [&] {
        const bool letto = principale.findChild<QLineEdit*>("txb_stato_con")->text() == stato_connesso
                           && !principale.occupato() && !principale.findChild<QLineEdit*>("Text1")->text().isEmpty();
        if (!letto)
            return;
        if (da_programmare) {
            auto* programma = principale.findChild<QPushButton*>("cmd_programma");
            da_programmare = !programma->isEnabled();
            programma->click();
            return;
        }
        controllo.stop();
        QTimer::singleShot(200, &principale, [&] {
            esito = principale.grab().save(file) ? 0 : 1;
            app.quit();
        });
    });
    controllo.start(50);
    QTimer::singleShot(15000, &app, [&app] { app.quit(); });
    app.exec();
    return esito;
}
