// SPDX-License-Identifier: GPL-3.0-or-later
// The help line under the pointer: each area's text on its free surface,
// nothing from the controls inside an area or from the areas without help,
// the bare window emptying it, and the table's ranges in its words; the help
// window of F1.

#include "banco.h"

#include "ui/aiuto.h"

#include <QDialog>
#include <QRegularExpression>
#include <QTextBrowser>

using namespace brenk;

class TestAiuto : public ProvaSulBanco {
    Q_OBJECT

    // A spot of the area's own surface: its bottom right corner, inside the border.
    QPoint libero(QWidget* area) const { return QPoint(area->width() - 3, area->height() - 3); }
    // Two spots, since a move to where the pointer already is goes unreported.
    void sulla_finestra()
    {
        QTest::mouseMove(b.finestra.get(), QPoint(2, 3));
        QTest::mouseMove(b.finestra.get(), QPoint(3, 3));
    }

private slots:
    void init()
    {
        QVERIFY(b.apri());
        QVERIFY(!b.finestra->childAt(2, 3) && !b.finestra->childAt(3, 3));
    }

    void aree_data()
    {
        QTest::addColumn<QString>("area");
        QTest::addColumn<bool>("con_aiuto");
        for (const QString& area : aree_con_aiuto())
            QTest::newRow(qPrintable(area)) << area << true;
        for (const char* area : {"Frame7", "Frame8", "Frame9", "Frame12", "Frame13", "Frame14", "Frame16", "Frame18"})
            QTest::newRow(area) << area << false;
    }

    // From the bare window onto the area's free surface and back. An area
    // without help leaves the help of the area before it.
    void aree()
    {
        QFETCH(QString, area);
        QFETCH(bool, con_aiuto);
        QWidget* w = b.trova(qPrintable(area));
        QVERIFY(!w->childAt(libero(w)));
        const std::optional<QString> testo = testo_aiuto(area);
        QCOMPARE(testo.has_value(), con_aiuto);
        if (!con_aiuto) {
            QTest::mouseMove(b.trova("Frame1"), QPoint(4, 4));
            const QString prima = b.aiuto();
            QVERIFY(!prima.isEmpty());
            QTest::mouseMove(w, libero(w));
            QCOMPARE(b.aiuto(), prima);
            return;
        }
        QVERIFY(testo->startsWith(u' ') && testo->size() > 1);
        b.casella("Text7")->setText(QStringLiteral("x"));
        sulla_finestra();
        QCOMPARE(b.aiuto(), QString());
        QTest::mouseMove(w, libero(w));
        QCOMPARE(b.aiuto(), *testo);
        sulla_finestra();
        QCOMPARE(b.aiuto(), QString());
    }

    void intervalli_data()
    {
        QTest::addColumn<Campo>("campo");
        QTest::addColumn<QString>("testo");
        QTest::newRow("Frame1") << Campo::CodiceBrenk << " Inserire il Codice dello Brenk (Renge 1 - 1023)";
        QTest::newRow("Frame3")
            << Campo::txb_tmp_rap << " Inserire il Tempo di preallarme Rapina espresso in sec (Range 1 - 255 sec)";
        QTest::newRow("Frame4") << Campo::txb_amp
                                << " Inserire il Tempo di preallarme Dell'Antiatterramento "
                                   "espresso in sec (Range 1 - 255 sec)";
    }

    void intervalli()
    {
        QFETCH(Campo, campo);
        QFETCH(QString, testo);
        QCOMPARE(testo_aiuto(QString::fromLatin1(QTest::currentDataTag())).value_or(QString()), testo);
        QCOMPARE(QRegularExpression("\\d+ - \\d+").match(testo).captured(), testo_intervallo(scheda(campo).valori));
    }

    // F1 opens the help window over the main window, in Italian.
    void guida_con_f1()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        auto* guida = b.finestra->findChild<QDialog*>(QStringLiteral("guida"));
        QVERIFY(guida && guida->isVisible());
        QCOMPARE(guida->windowTitle(), QStringLiteral("Brenk_zelm - Guida"));
        const QString testo = guida->findChild<QTextBrowser*>()->toPlainText();
        for (const char* parola : {"Serie", "Registro", "Assegnato a", "Esporta CSV…", "postgresql://"})
            QVERIFY2(testo.contains(QString::fromUtf8(parola)), parola);
    }

    // The pointer on a text box or a label inside an area, or on the maker's
    // label, changes nothing.
    void controlli_dentro_un_area()
    {
        QWidget* rapina = b.trova("Frame3");
        QTest::mouseMove(rapina, libero(rapina));
        QCOMPARE(b.aiuto(), *testo_aiuto(u"Frame3"));
        QTest::mouseMove(b.trova("txb_tmp_rap"));
        QCOMPARE(b.aiuto(), *testo_aiuto(u"Frame3"));
        sulla_finestra();
        for (const char* nome : {"txb_tmp_rap", "lab_range_rapina", "Label1"}) {
            QTest::mouseMove(b.trova(nome)); // to its middle
            QCOMPARE(b.aiuto(), QString());
        }
    }
};

QTEST_MAIN(TestAiuto)
#include "test_aiuto.moc"
