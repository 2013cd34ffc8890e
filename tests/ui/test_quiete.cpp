// SPDX-License-Identifier: GPL-3.0-or-later
// The window while nobody touches it: the text fields of the combo boxes
// repaint only themselves when their caret blinks, and the screen still shows
// what a full repaint would; the caret stops blinking, drawn, after a while
// without a key or a click, and blinks again at the desktop's rate after one.

#include "banco.h"

#include "ui/riposo_cursore.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QStyleHints>

using namespace brenk;
using namespace std::chrono_literals;

namespace {

// The pixels `w` leaves unpainted, painted alone over full transparency in
// the screen's own pixels, fractional scales included.
int pixel_trasparenti(QWidget* w)
{
    const qreal scala = w->devicePixelRatioF();
    QImage immagine((QSizeF(w->size()) * scala).toSize(), QImage::Format_ARGB32_Premultiplied);
    immagine.setDevicePixelRatio(scala);
    immagine.fill(Qt::transparent);
    w->render(&immagine, {}, {}, QWidget::RenderFlags());
    int n = 0;
    for (int y = 0; y < immagine.height(); ++y) {
        for (int x = 0; x < immagine.width(); ++x)
            n += qAlpha(immagine.pixel(x, y)) != 255;
    }
    return n;
}

// The caret blinks in `campo`: two repaints come, however long the machine
// holds the process up meanwhile.
bool lampeggia(QLineEdit* campo)
{
    Spettatore conta(*campo);
    return QTest::qWaitFor([&conta] { return conta.ridisegni >= 2; }, 10000);
}

// Lets the window's caret come to rest after `attesa` without input.
bool a_riposo_dopo(const Banco& b, std::chrono::milliseconds attesa)
{
    auto* riposo = b.finestra->findChild<RiposoCursore*>();
    riposo->imposta_attesa(attesa);
    return QTest::qWaitFor([riposo] { return riposo->a_riposo(); }, 2000);
}

} // namespace

class TestQuiete : public ProvaSulBanco {
    Q_OBJECT

private slots:
    // Marked opaque, a field must paint every one of its pixels, enabled or
    // not: what it left unpainted would keep whatever was on the screen before.
    void campi_delle_combo_opachi()
    {
        const QList<QComboBox*> combo = b.finestra->findChildren<QComboBox*>();
        QCOMPARE(combo.size(), 6);
        for (QComboBox* c : combo) {
            QLineEdit* campo = c->lineEdit();
            QVERIFY2(campo->testAttribute(Qt::WA_OpaquePaintEvent), qPrintable(c->objectName()));
            for (const bool abilitato : {true, false}) {
                c->setEnabled(abilitato);
                QVERIFY2(pixel_trasparenti(campo) == 0, qPrintable(c->objectName()));
            }
            c->setEnabled(true);
        }
    }

    void lo_schermo_mentre_il_cursore_lampeggia()
    {
        QLineEdit* campo = b.combo("cmb_Zelmrep")->lineEdit();
        QVERIFY(campo->hasFocus());
        QVERIFY(lampeggia(campo));
        QCoreApplication::sendPostedEvents(); // a blink's repaint still queued
        const QImage schermo = b.finestra->screen()->grabWindow(b.finestra->winId()).toImage();
        const QImage disegno = b.finestra->grab().toImage();
        QCOMPARE(schermo.convertToFormat(QImage::Format_RGB32), disegno.convertToFormat(QImage::Format_RGB32));
    }

    void il_cursore_riposa_e_si_risveglia_data()
    {
        QTest::addColumn<bool>("con_il_tasto");
        QTest::newRow("un tasto") << true;
        QTest::newRow("un clic") << false;
    }

    void il_cursore_riposa_e_si_risveglia()
    {
        QFETCH(bool, con_il_tasto);
        const int del_desktop = QGuiApplication::styleHints()->cursorFlashTime();
        QVERIFY(del_desktop > 0);
        auto* riposo = b.finestra->findChild<RiposoCursore*>();
        // Ten seconds from the start, give or take the 5% of a coarse timer.
        QVERIFY(riposo->resto() > 5s && riposo->resto() <= 10500ms);
        QLineEdit* campo = b.combo("cmb_Zelmrep")->lineEdit();

        // The field with its caret drawn, just focused, and without the focus.
        b.finestra->setFocus();
        const QImage senza_cursore = campo->grab().toImage();
        campo->setFocus();
        const QImage con_cursore = campo->grab().toImage();
        QVERIFY(con_cursore != senza_cursore);

        QVERIFY(a_riposo_dopo(b, 300ms));
        QTest::qWait(50); // the caret is drawn once more as it comes to rest
        Spettatore fermo(*campo);
        QTest::qWait(1200);
        QCOMPARE(fermo.ridisegni, 0);
        QCOMPARE(campo->grab().toImage(), con_cursore);

        riposo->imposta_attesa(5s);
        if (con_il_tasto)
            QTest::keyClick(campo, Qt::Key_Shift);
        else
            QTest::mouseClick(campo, Qt::LeftButton);
        QVERIFY(!riposo->a_riposo());
        QVERIFY(riposo->resto() > 4s);
        QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), del_desktop);
        QVERIFY(lampeggia(campo));
    }

    // The caret's rest belongs to the window: once it has gone, the next
    // window or program part gets the desktop's blinking.
    void chiusa_la_finestra_il_lampeggio_e_del_desktop()
    {
        const int del_desktop = QGuiApplication::styleHints()->cursorFlashTime();
        QVERIFY(a_riposo_dopo(b, 100ms));
        QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), 0);
        b.finestra.reset();
        QCOMPARE(QGuiApplication::styleHints()->cursorFlashTime(), del_desktop);
    }
};

QTEST_MAIN(TestQuiete)
#include "test_quiete.moc"
