// SPDX-License-Identifier: GPL-3.0-or-later
// The entry checks of the typed fields: which tooltip text a refusal ends
// with, and on the main window the beeps, the character left selected, the
// focus and the tooltip.

#include "banco.h"
#include "ui/controlli_ingresso.h"

#include <QToolTip>
#include <QtTest>

using namespace brenk;

namespace {

const QString solo_codice = QStringLiteral("Solo cifre: 1 - 1023");
const QString solo_tempi = QStringLiteral("Solo cifre: 1 - 255");
const QString solo_frequenza = QStringLiteral("Frequenza in MHz con il punto: 433.525");

QString suggerimento()
{
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// What follows a refused keystroke.
enum class Poi {
    AltriTasti, // another refused key, then one that is no character
    Correzione, // a good key in place of the selected character
    Uscita,     // the field set to a good value, then left
};

} // namespace

Q_DECLARE_METATYPE(Poi)

class TestControlli : public ProvaSulBanco {
    Q_OBJECT

private slots:
    // clang-format off
    void suggerimento_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso"); // empty: the field accepts the text
        QTest::newRow("codice, lettera") << "codice" << "1x" << solo_codice;
        QTest::newRow("codice 1024") << "codice" << "1024" << solo_codice;
        QTest::newRow("codice 1023") << "codice" << "1023" << "";
        QTest::newRow("codice 0, ancora da completare") << "codice" << "0" << "";
        QTest::newRow("tempo, lettera e oltre") << "tempo" << "9x99" << solo_tempi;
        QTest::newRow("tempo 256") << "tempo" << "256" << solo_tempi;
        QTest::newRow("tempo 255") << "tempo" << "255" << "";
        QTest::newRow("frequenza, virgola") << "frequenza" << "433,525" << solo_frequenza;
        QTest::newRow("frequenza, due errori") << "frequenza" << "4x3,5" << solo_frequenza;
        QTest::newRow("frequenza 433.525") << "frequenza" << "433.525" << "";
    }
    // clang-format on

    // A refusal carries exactly one tooltip, as its last action: taking the
    // focus would otherwise close it again at once.
    void suggerimento()
    {
        QFETCH(QString, campo);
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        const auto azioni = campo == "frequenza"
                                ? controllo_frequenza(testo)
                                : controllo_cifre(testo, campo == "codice" ? Intervallo{1, 1023} : Intervallo{1, 255});
        if (atteso.isEmpty()) {
            QVERIFY(azioni.empty());
            return;
        }
        QCOMPARE(std::ranges::count(azioni, Azione::Suggerimento, &Azione::tipo), 1);
        QCOMPARE(azioni.back().tipo, Azione::Suggerimento);
        QCOMPARE(azioni.back().testo, atteso);
    }

    // A field set from code runs the same check as typing: the beeps, the
    // character left selected, the focus taken and the tooltip saying what the
    // field accepts. Tabbing out of a field re-runs the check: a flagged field
    // takes the focus back with its last flagged character selected and its
    // tooltip, a good one lets it go.
    // clang-format off
    void controllo_di_ingresso_data()
    {
        QTest::addColumn<bool>("uscendo"); // the field set, then left with Tab
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("beep");
        QTest::addColumn<int>("selezione"); // start of the one selected character, -1 for none
        QTest::addColumn<QString>("suggerimento");
        QTest::newRow("codice 1023") << false << "CodiceBrenk" << "1023" << 0 << -1 << "";
        QTest::newRow("codice 1024") << false << "CodiceBrenk" << "1024" << 4 << 3 << solo_codice;
        QTest::newRow("codice 12a") << false << "CodiceBrenk" << "12a" << 1 << 2 << solo_codice;
        QTest::newRow("codice 1a0000") << false << "CodiceBrenk" << "1a0000" << 1 << 1 << solo_codice;
        QTest::newRow("codice 2e3 vale 2000") << false << "CodiceBrenk" << "2e3" << 4 << 2 << solo_codice;
        QTest::newRow("codice vuoto") << false << "CodiceBrenk" << "" << 0 << -1 << "";
        QTest::newRow("codice 0 si corregge dopo") << false << "CodiceBrenk" << "0" << 0 << -1 << "";
        QTest::newRow("antiatterramento 300") << false << "txb_amp" << "300" << 3 << 2 << solo_tempi;
        QTest::newRow("antiatterramento 255") << false << "txb_amp" << "255" << 0 << -1 << "";
        QTest::newRow("antiatterramento 0") << false << "txb_amp" << "0" << 0 << -1 << "";
        QTest::newRow("antiatterramento 256") << false << "txb_amp" << "256" << 3 << 2 << solo_tempi;
        QTest::newRow("antiatterramento 4-") << false << "txb_amp" << "4-" << 1 << 1 << solo_tempi;
        QTest::newRow("rapina 9x9") << false << "txb_tmp_rap" << "9x9" << 1 << 1 << solo_tempi;
        QTest::newRow("rapina blank e cifre") << false << "txb_tmp_rap" << "2 5" << 1 << 1 << solo_tempi;
        QTest::newRow("rapina 9x900 oltre il limite") << false << "txb_tmp_rap" << "9x900" << 1 << 1 << solo_tempi;
        QTest::newRow("rapina 300x") << false << "txb_tmp_rap" << "300x" << 5 << 3 << solo_tempi;
        QTest::newRow("frequenza 160.9125") << false << "FqTx" << "160.9125" << 0 << -1 << "";
        QTest::newRow("frequenza con virgola") << false << "FqTx" << "160,9125" << 1 << 3 << solo_frequenza;
        QTest::newRow("frequenza 1a,b") << false << "FqTx" << "1a,b" << 1 << 1 << solo_frequenza;
        QTest::newRow("frequenza 1..2") << false << "FqTx" << "1..2" << 0 << -1 << "";
        QTest::newRow("frequenza senza limite") << false << "FqTx" << "99999" << 0 << -1 << "";
        QTest::newRow("uscita, codice 2000") << true << "CodiceBrenk" << "2000" << 4 << 3 << solo_codice;
        QTest::newRow("uscita, codice 1000") << true << "CodiceBrenk" << "1000" << 0 << -1 << "";
        QTest::newRow("uscita, frequenza 16o") << true << "FqTx" << "16o" << 1 << 2 << solo_frequenza;
        QTest::newRow("uscita, rapina 256") << true << "txb_tmp_rap" << "256" << 3 << 2 << solo_tempi;
        QTest::newRow("uscita, antiatterramento 12") << true << "txb_amp" << "12" << 0 << -1 << "";
    }
    // clang-format on

    void controllo_di_ingresso()
    {
        QFETCH(bool, uscendo);
        QFETCH(QString, nome);
        QFETCH(QString, testo);
        QFETCH(int, beep);
        QFETCH(int, selezione);
        QFETCH(QString, suggerimento);
        QLineEdit* campo = b.casella(qPrintable(nome));
        QWidget* altrove = b.combo("Cmb_n_ing_all");
        altrove->setFocus();
        campo->setText(testo);
        if (uscendo) {
            campo->setFocus();
            b.avvisi.azzera();
            QTest::keyClick(campo, Qt::Key_Tab);
            QTest::qWait(50);
        }

        QCOMPARE(campo->text(), testo); // the check never changes the text
        QTRY_COMPARE(b.avvisi.beep_contati(), beep);
        if (selezione < 0) {
            QVERIFY(!campo->hasSelectedText());
            QVERIFY(QApplication::focusWidget() != campo);
            if (!uscendo)
                QCOMPARE(QApplication::focusWidget(), altrove);
        } else {
            QCOMPARE(campo->selectionStart(), selezione);
            QCOMPARE(campo->selectedText(), testo.mid(selezione, 1));
            QCOMPARE(QApplication::focusWidget(), campo);
        }
        QCOMPARE(::suggerimento(), suggerimento);
    }

    // clang-format off
    void suggerimento_fino_al_tasto_successivo_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<int>("beep");
        QTest::addColumn<QString>("suggerimento");
        QTest::addColumn<Poi>("poi");
        QTest::newRow("codice, lettera") << "CodiceBrenk" << "12a" << 1 << solo_codice << Poi::AltriTasti;
        QTest::newRow("codice oltre 1023") << "CodiceBrenk" << "1024" << 4 << solo_codice << Poi::AltriTasti;
        QTest::newRow("frequenza, virgola") << "FqTx" << "433," << 1 << solo_frequenza << Poi::AltriTasti;
        QTest::newRow("rapina, lettera") << "txb_tmp_rap" << "9x" << 1 << solo_tempi << Poi::AltriTasti;
        QTest::newRow("rapina oltre 255") << "txb_tmp_rap" << "256" << 3 << solo_tempi << Poi::AltriTasti;
        QTest::newRow("antiatterramento, segno") << "txb_amp" << "4-" << 1 << solo_tempi << Poi::AltriTasti;
        QTest::newRow("antiatterramento oltre 255") << "txb_amp" << "300" << 3 << solo_tempi << Poi::AltriTasti;
        QTest::newRow("codice oltre 1023, corretto") << "CodiceBrenk" << "1024" << 4 << solo_codice << Poi::Correzione;
        QTest::newRow("codice, lettera, poi via") << "CodiceBrenk" << "7k" << 1 << solo_codice << Poi::Uscita;
    }
    // clang-format on

    // Typing a refused character shows, at the field, what the field accepts,
    // beside the beep and the selection; each keystroke runs the check again.
    // Another refused key keeps the tip up; any other key takes it away. Once
    // the field holds a good value again, leaving it takes the tip away and
    // nothing brings it back.
    void suggerimento_fino_al_tasto_successivo()
    {
        QFETCH(QString, nome);
        QFETCH(QString, digitato);
        QFETCH(int, beep);
        QFETCH(QString, suggerimento);
        QFETCH(Poi, poi);
        QLineEdit* campo = b.casella(qPrintable(nome));
        campo->setFocus();
        QTest::keyClicks(campo, digitato);
        QCOMPARE(b.avvisi.beep_contati(), beep);
        QCOMPARE(campo->selectedText(), digitato.right(1));
        QCOMPARE(::suggerimento(), suggerimento);
        // Just below the field, from its left edge.
        const QRect zona = campo->rect().translated(campo->mapToGlobal(QPoint(0, 0)));
        const QWidget* etichetta = QApplication::widgetAt(zona.left() + 20, zona.bottom() + 25);
        QVERIFY(etichetta && etichetta->windowType() == Qt::ToolTip);

        if (poi == Poi::Correzione) {
            QTest::keyClick(campo, Qt::Key_3);
            QCOMPARE(campo->text(), digitato.chopped(1) + u'3');
            QCOMPARE(b.avvisi.beep_contati(), beep);
        } else if (poi == Poi::Uscita) {
            campo->setText(digitato.chopped(1));
            b.casella("FqTx")->setFocus();
            QTRY_COMPARE(::suggerimento(), QString());
            QTest::qWait(50);
            QCOMPARE(QApplication::focusWidget(), b.casella("FqTx"));
            QCOMPARE(::suggerimento(), QString());
            QCOMPARE(b.avvisi.beep_contati(), beep);
        } else {
            QTest::keyClick(campo, Qt::Key_X);
            QTest::qWait(400); // longer than a hidden tip takes to fade
            QCOMPARE(::suggerimento(), suggerimento);
            QCOMPARE(b.avvisi.beep_contati(), beep + 1);
            QTest::keyClick(campo, Qt::Key_Home);
            QTRY_COMPARE(::suggerimento(), QString());
            QCOMPARE(b.avvisi.beep_contati(), beep + 1);
        }
    }
};

QTEST_MAIN(TestControlli)
#include "test_controlli.moc"
