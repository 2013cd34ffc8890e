// SPDX-License-Identifier: GPL-3.0-or-later
// The way in and the way out: the title window handing over to the main
// window, leaving by "ESCI" or by closing the window, and the message boxes
// an operation waits on.

#include "testi.h"
#include "banco.h"

#include "ui/aspetto.h"
#include "ui/avvisi_qt.h"
#include "ui/titolo.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

using namespace brenk;
namespace atteso = brenk::prova::atteso;

namespace {

enum class Uscita { Esci, Chiusa, EsciInAttesa, Invio };

Task<void> attendi(Avvisi& avvisi, bool& chiuso, const QString& testo, Icona icona = Icona::Esclamazione)
{
    co_await avvisi.messaggio(testo, icona);
    chiuso = true;
}

// The program as it starts: the title window, the main window behind it.
struct Avvio {
    AvvisiRegistrati avvisi;
    Principale principale{avvisi};
    Titolo titolo{principale};
};

} // namespace

Q_DECLARE_METATYPE(Uscita)

class TestFinestre : public QObject {
    Q_OBJECT

private slots:
    void titolo()
    {
        Avvio avvio;
        Titolo& titolo = avvio.titolo;
        titolo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&titolo));

        // The edition word is refreshed by the window's timer.
        auto* edizione = titolo.findChild<QLabel*>("lab_fabbrica");
        edizione->clear();
        QTRY_COMPARE(edizione->text(), QStringLiteral("Fabbrica"));
        QCOMPARE(titolo.findChild<QLabel*>("Image1")->pixmap().size(), QSize(320, 480));
        QCOMPARE(titolo.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Continua"));
        QCOMPARE(titolo.focusWidget(), titolo.findChild<QPushButton*>("Command1"));
    }

    // "Continua" closes the title window for good and loads the main window,
    // whose first two status ticks give " Non Connesso" and its column.
    void continua_apre_la_principale()
    {
        Avvio avvio;
        Titolo& titolo = avvio.titolo;
        titolo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&titolo));
        Principale& principale = avvio.principale;
        auto* stato = principale.findChild<QLineEdit*>("txb_stato_con");
        QVERIFY(stato->text().isEmpty());
        QTest::mouseClick(titolo.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QVERIFY(!titolo.isVisible());
        QVERIFY(principale.isVisible());
        QTRY_COMPARE(stato->text(), atteso::non_connesso);
        QTRY_VERIFY(!principale.findChild<QWidget*>("Cmd_disconetti")->isEnabled());
        QVERIFY(principale.findChild<QWidget*>("Cmd_connetti")->isEnabled());
        QVERIFY(principale.findChild<QLabel*>("lab_tipo_brenk")->text().isEmpty());
    }

    void chiusura_della_finestra_data()
    {
        QTest::addColumn<Uscita>("come");
        QTest::newRow("ESCI") << Uscita::Esci;
        QTest::newRow("chiusa dal gestore delle finestre") << Uscita::Chiusa;
        QTest::newRow("ESCI mentre si attende K") << Uscita::EsciInAttesa;
        QTest::newRow("Invio su ESCI") << Uscita::Invio;
    }

    // Leaving sends the farewell "E" on an open port, closes it, and asks the
    // program to end; a connect waiting for "K" is dropped without a word.
    void chiusura_della_finestra()
    {
        QFETCH(Uscita, come);
        LineaCom1 linea;
        QVERIFY(linea.valido());
        AvvisiRegistrati avvisi;
        Principale principale(avvisi);
        principale.show();
        QSignalSpy uscita(&principale, &Principale::uscita);
        if (come == Uscita::EsciInAttesa) {
            QTest::mouseClick(principale.findChild<QPushButton*>("Cmd_connetti"), Qt::LeftButton);
            QTRY_VERIFY(principale.occupato());
        } else {
            principale.sessione().porta().apri_porta();
        }

        if (come == Uscita::Chiusa)
            principale.close();
        else if (come == Uscita::Invio)
            QTest::keyClick(principale.findChild<QPushButton*>("Command4"), Qt::Key_Return);
        else
            QTest::mouseClick(principale.findChild<QPushButton*>("Command4"), Qt::LeftButton);
        QVERIFY(!principale.occupato());
        QCOMPARE(uscita.size(), 1);
        QVERIFY(!principale.isVisible());
        QVERIFY(!principale.sessione().porta().aperta());
        QCOMPARE(linea.ricevuti(), QByteArray("E"));
        QTest::qWait(50);
        QVERIFY(avvisi.messaggi().isEmpty());
    }

    void messaggio_atteso_data()
    {
        QTest::addColumn<int>("icona");
        QTest::addColumn<int>("atteso");
        QTest::addColumn<bool>("sulla_principale");
        QTest::newRow("esclamazione") << int(Icona::Esclamazione) << int(QMessageBox::Warning) << false;
        QTest::newRow("senza icona") << int(Icona::Nessuna) << int(QMessageBox::NoIcon) << false;
        QTest::newRow("al centro della finestra") << int(Icona::Esclamazione) << int(QMessageBox::Warning) << true;
    }

    // A message box is shown without a nested event loop; the operation
    // resumes only once the operator has pressed OK. A box that belongs to the
    // main window is centred on it, with the program's icon.
    void messaggio_atteso()
    {
        QFETCH(int, icona);
        QFETCH(int, atteso);
        QFETCH(bool, sulla_principale);
        AvvisiRegistrati registrati;
        Principale principale(registrati);
        AvvisiQt avvisi;
        if (sulla_principale) {
            principale.move(120, 20);
            principale.show();
            QVERIFY(QTest::qWaitForWindowExposed(&principale));
            avvisi.appartiene_a(&principale);
        }
        bool chiuso = false;
        Task<void> operazione = attendi(avvisi, chiuso, atteso::time_out, static_cast<Icona>(icona));
        operazione.avvia();

        QMessageBox* scatola = scatola_aperta();
        QVERIFY(scatola);
        QCOMPARE(scatola->windowTitle(), QStringLiteral("Brenk_zelm"));
        QCOMPARE(scatola->text(), atteso::time_out);
        QCOMPARE(int(scatola->icon()), atteso);
        QCOMPARE(scatola->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(scatola->windowModality(), Qt::ApplicationModal);
        if (sulla_principale) {
            QCOMPARE(scatola->parentWidget(), &principale);
            const QPoint scarto = scatola->frameGeometry().center() - principale.frameGeometry().center();
            QVERIFY2(scarto.manhattanLength() <= 2,
                     qPrintable(QStringLiteral("%1, %2").arg(scarto.x()).arg(scarto.y())));
            QCOMPARE(scatola->windowIcon().pixmap(32).toImage(), icona_programma().pixmap(32).toImage());
        }
        QTest::qWait(20);
        QVERIFY(!chiuso);

        QTest::mouseClick(scatola->button(QMessageBox::Ok), Qt::LeftButton);
        QTRY_VERIFY(chiuso);
        QVERIFY(operazione.finita());
        QTRY_VERIFY(QApplication::topLevelWidgets().indexOf(scatola) < 0);
    }

    // An operation dropped while its message shows takes the box with it and
    // is never resumed.
    void messaggio_abbandonato()
    {
        AvvisiQt avvisi;
        bool chiuso = false;
        auto operazione = std::make_unique<Task<void>>(attendi(avvisi, chiuso, atteso::porta_guasta));
        operazione->avvia();
        QMessageBox* scatola = scatola_aperta();
        QVERIFY(scatola);

        // The operator presses OK and the operation is dropped before it resumes.
        QTest::mouseClick(scatola->button(QMessageBox::Ok), Qt::LeftButton);
        operazione.reset();
        QTest::qWait(20);
        QVERIFY(!chiuso);

        operazione = std::make_unique<Task<void>>(attendi(avvisi, chiuso, atteso::porta_guasta));
        operazione->avvia();
        QVERIFY(scatola_aperta());
        operazione.reset();
        QVERIFY(!scatola_aperta());
        QTest::qWait(20);
        QVERIFY(!chiuso);
    }

    // Both windows show the program's own drawing as their icon.
    void icona_del_programma()
    {
        const QImage disegno = icona_programma().pixmap(128).toImage();
        QCOMPARE(disegno.size(), QSize(128, 128));
        QCOMPARE(disegno.pixelColor(56, 30), QColor(0xd9, 0x34, 0x2b)); // the lamp on the antenna
        QCOMPARE(disegno.pixelColor(52, 74), QColor(0x9f, 0xd8, 0xa8)); // the display
        QCOMPARE(disegno.pixelColor(2, 126).alpha(), 0);                // transparent corner
        Avvio avvio;
        QCOMPARE(avvio.principale.windowIcon().pixmap(128).toImage(), disegno);
        QCOMPARE(avvio.titolo.windowIcon().pixmap(128).toImage(), disegno);
    }
};

QTEST_MAIN(TestFinestre)
#include "test_finestre.moc"
