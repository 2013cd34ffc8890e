// SPDX-License-Identifier: GPL-3.0-or-later
// The help line under the pointer: each area's text on its free surface,
// nothing from the controls inside an area or from the areas without help,
// and the bare window emptying it.

#include "banco.h"

#include "ui/aiuto.h"

using namespace brenk;

class TestAiuto : public QObject {
    Q_OBJECT

    Banco b;

    // The pointer on `punto` of `w`.
    void sposta(QWidget* w, QPoint punto) { QTest::mouseMove(w, punto); }
    // A spot of the area's own surface: its bottom right corner, inside the border.
    QPoint libero(QWidget* area) const { return QPoint(area->width() - 3, area->height() - 3); }
    // Two spots, since a move to where the pointer already is goes unreported.
    void sulla_finestra()
    {
        sposta(b.finestra.get(), QPoint(2, 3));
        sposta(b.finestra.get(), QPoint(3, 3));
    }

private slots:
    void init()
    {
        b.avvisi.azzera();
        QVERIFY(b.apri());
        QVERIFY(!b.finestra->childAt(2, 3) && !b.finestra->childAt(3, 3));
    }
    void cleanup() { b.finestra.reset(); }

    void aree_data();
    void aree();
    void aree_senza_aiuto_data();
    void aree_senza_aiuto();
    void controlli_dentro_un_area();
};

void TestAiuto::aree_data()
{
    QTest::addColumn<QString>("area");
    for (const QString& area : aree_con_aiuto())
        QTest::newRow(qPrintable(area)) << area;
}

// From the bare window onto the area's free surface and back.
void TestAiuto::aree()
{
    QFETCH(QString, area);
    const QString testo = *testo_aiuto(area);
    QVERIFY(testo.startsWith(u' ') && testo.size() > 1);

    QWidget* w = b.trova(qPrintable(area));
    QVERIFY(!w->childAt(libero(w)));
    b.casella("Text7")->setText(QStringLiteral("x"));
    sulla_finestra();
    QCOMPARE(b.aiuto(), QString());
    sposta(w, libero(w));
    QCOMPARE(b.aiuto(), testo);
    sulla_finestra();
    QCOMPARE(b.aiuto(), QString());
}

void TestAiuto::aree_senza_aiuto_data()
{
    QTest::addColumn<QString>("area");
    for (const char* area : {"Frame7", "Frame8", "Frame9", "Frame12", "Frame13", "Frame14", "Frame16", "Frame18"})
        QTest::newRow(area) << area;
}

void TestAiuto::aree_senza_aiuto()
{
    QFETCH(QString, area);
    QWidget* w = b.trova(qPrintable(area));
    QVERIFY(!w->childAt(libero(w)));
    sposta(b.trova("Frame1"), QPoint(4, 4));
    const QString prima = b.aiuto();
    QVERIFY(!prima.isEmpty());
    sposta(w, libero(w));
    QCOMPARE(b.aiuto(), prima);
}

// The pointer on a text box or a label inside an area, or on the maker's
// label, changes nothing.
void TestAiuto::controlli_dentro_un_area()
{
    QWidget* rapina = b.trova("Frame3");
    QLineEdit* casella = b.casella("txb_tmp_rap");
    sposta(rapina, libero(rapina));
    const QString testo_rapina = b.aiuto();
    QCOMPARE(testo_rapina, QStringLiteral(" Inserire il Tempo di preallarme Rapina espresso in sec (Range 1 - 255 sec)"));
    sposta(casella, casella->rect().center());
    QCOMPARE(b.aiuto(), testo_rapina);

    sulla_finestra();
    sposta(casella, casella->rect().center());
    QCOMPARE(b.aiuto(), QString());
    QWidget* etichetta = b.trova("lab_range_rapina");
    sposta(etichetta, etichetta->rect().center());
    QCOMPARE(b.aiuto(), QString());
    QWidget* marchio = b.trova("Label1");
    sposta(marchio, marchio->rect().center());
    QCOMPARE(b.aiuto(), QString());
}

QTEST_MAIN(TestAiuto)
#include "test_aiuto.moc"
