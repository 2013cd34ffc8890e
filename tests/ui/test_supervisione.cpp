// SPDX-License-Identifier: GPL-3.0-or-later
// The status supervision on the real window: the columns of the 10 ms tick,
// the old-type forcing, the busy rule during a real exchange, the window's
// load step and the title scroll.

#include "testi.h"
#include "banco.h"

#include "ops/operazioni.h"
#include "params/blocco.h"
#include "ui/titolo_scorrevole.h"

#include <QLabel>

using namespace brenk;
namespace atteso = brenk::prova::atteso;

class TestSupervisione : public ProvaSulBanco {
    Q_OBJECT

    void abilita_tutti(bool abilitato)
    {
        for (const char* nome : supervisionati)
            b.trova(nome)->setEnabled(abilitato);
    }
    void tick() { b.finestra->Timer_stato_Timer(); }

private slots:
    void colonne_data()
    {
        QTest::addColumn<QString>("stato");
        QTest::addColumn<int>("fleg");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("zelm");
        QTest::addColumn<bool>("sing");
        QTest::addColumn<bool>("si");
        // Per control: '1' enabled, '0' disabled, '-' left as it was.
        QTest::addColumn<QString>("atteso");
        QTest::newRow("non connesso") << " Non Connesso" << 0 << 78 << true << false << false << "0011000----";
        QTest::newRow("non connesso, fleg 1") << " Non Connesso" << 1 << 78 << true << false << false << "0011000----";
        QTest::newRow("in attesa") << " In Attesa " << 0 << 78 << true << false << false << "0100000----";
        QTest::newRow("connesso, nuovo, zelm") << " Connesso" << 0 << 78 << true << false << false << "11001111110";
        QTest::newRow("connesso, nuovo, brenk") << " Connesso" << 0 << 78 << false << false << false << "11001111010";
        QTest::newRow("connesso, sing, si") << " Connesso" << 0 << 78 << true << true << true << "11001111101";
        QTest::newRow("connesso, programmazione") << " Connesso" << 1 << 78 << true << false << false << "01001111110";
        QTest::newRow("connesso, fleg 2") << " Connesso" << 2 << 78 << true << false << false << "-1001111110";
        QTest::newRow("connesso, vecchio") << " Connesso" << 0 << 79 << true << false << false << "11001110010";
        QTest::newRow("connesso, tipo non letto") << " Connesso" << 0 << 0 << true << false << false << "11001110010";
    }

    void colonne()
    {
        QFETCH(QString, stato);
        QFETCH(int, fleg);
        QFETCH(int, tipo);
        QFETCH(bool, zelm);
        QFETCH(bool, sing);
        QFETCH(bool, si);
        QFETCH(QString, atteso);
        b.finestra->imposta_stato(stato);
        b.finestra->sessione().fleg() = fleg;
        b.finestra->sessione().blocco()[Tipo_brenk] = tipo;
        b.finestra->seleziona(zelm ? Opzione::Opt_zelm : Opzione::opt_brenk);
        b.finestra->seleziona(sing ? Opzione::Opt_tx_sing : Opzione::Opt_tx_mult);
        b.finestra->seleziona(si ? Opzione::Opt_bat_si : Opzione::Opt_bat_no);
        for (bool prima : {true, false}) {
            abilita_tutti(prima);
            tick();
            QString previsto = atteso;
            previsto.replace(u'-', prima ? u'1' : u'0');
            QCOMPARE(b.abilitazioni(), previsto);
            QCOMPARE(b.stato(), stato);
        }
        // "ESCI" is never touched.
        QVERIFY(b.trova("Command4")->isEnabled());
    }

    // An unknown status text becomes " Non Connesso" on one tick; its column
    // follows on the next.
    void stato_sconosciuto()
    {
        for (const QString& testo : {QString(), QStringLiteral("Connesso"), QStringLiteral(" connesso")}) {
            b.finestra->imposta_stato(testo);
            b.finestra->imposta_tipo(QStringLiteral("Old"));
            abilita_tutti(true);
            tick();
            QCOMPARE(b.stato(), atteso::non_connesso);
            QCOMPARE(b.abilitazioni(), QStringLiteral("11111111111"));
            QCOMPARE(b.trova<QLabel>("lab_tipo_brenk")->text(), QStringLiteral("Old"));
            tick();
            QCOMPARE(b.abilitazioni(), QStringLiteral("00110001111"));
            QVERIFY(b.trova<QLabel>("lab_tipo_brenk")->text().isEmpty());
        }
    }

    // With an old-type transmitter the Brenk mode is forced on every tick,
    // whatever the operator clicks.
    void vecchio_tipo_forza_brenk()
    {
        BloccoParametri& blocco = b.finestra->sessione().blocco();
        b.finestra->imposta_stato(atteso::connesso);
        blocco[Tipo_brenk] = 79;
        blocco[Zelmbrenk] = 1;
        tick();
        QVERIFY(b.opzione("opt_brenk")->isChecked());
        QCOMPARE(blocco[Zelmbrenk], 0.0);

        QTest::mouseClick(b.opzione("Opt_zelm"), Qt::LeftButton);
        QCOMPARE(blocco[Zelmbrenk], 1.0);
        tick();
        QVERIFY(b.opzione("opt_brenk")->isChecked());
        QVERIFY(!b.opzione("Opt_zelm")->isChecked());
        QCOMPARE(blocco[Zelmbrenk], 0.0);
        QVERIFY(!b.trova("Cmb_tmr_p_all")->isEnabled());
        QVERIFY(!b.trova("cmb_Zelmrep")->isEnabled());

        // Forcing an option already selected stores nothing: a mode byte put
        // in the block meanwhile (as a read does) survives the next ticks.
        blocco[Zelmbrenk] = 1;
        tick();
        tick();
        QCOMPARE(blocco[Zelmbrenk], 1.0);
    }

    void modo_brenk_spegne_il_ripetitore()
    {
        b.finestra->imposta_stato(atteso::connesso);
        b.finestra->sessione().blocco()[Tipo_brenk] = 78;
        tick();
        QVERIFY(b.trova("cmb_Zelmrep")->isEnabled());
        b.finestra->seleziona(Opzione::opt_brenk);
        tick();
        QVERIFY(!b.trova("cmb_Zelmrep")->isEnabled());
    }

    // Leaving " Connesso" empties the type label and leaves the four
    // option-dependent combo boxes as they last were.
    void uscita_dalla_connessione()
    {
        b.finestra->imposta_stato(atteso::connesso);
        b.finestra->sessione().blocco()[Tipo_brenk] = 78;
        b.finestra->imposta_tipo(QStringLiteral("New"));
        b.finestra->seleziona(Opzione::Opt_tx_sing);
        b.finestra->seleziona(Opzione::Opt_bat_si);
        tick();
        const QString connesso = b.abilitazioni();
        QCOMPARE(connesso.right(4), QStringLiteral("1101"));
        b.finestra->imposta_stato(atteso::non_connesso);
        tick();
        QCOMPARE(b.abilitazioni().right(4), connesso.right(4));
        QVERIFY(b.trova<QLabel>("lab_tipo_brenk")->text().isEmpty());
    }

    // While a device operation runs, nothing can start a second one; the way
    // out ("Disconetti", "ESCI") stays open.
    void occupato_durante_la_lettura()
    {
        LineaCom1 linea;
        QVERIFY(linea.valido());
        // A new-type transmitter, as a previous read left it.
        b.finestra->sessione().blocco()[Tipo_brenk] = 78;
        QTRY_VERIFY(b.trova("Cmd_connetti")->isEnabled());
        QTest::mouseClick(b.trova("Cmd_connetti"), Qt::LeftButton);
        QTRY_COMPARE(b.stato(), atteso::in_attesa);
        linea.scrivi("K");
        // The read now waits for the answer to its first request.
        QTRY_COMPARE(linea.ricevuti(), QByteArray("LR\0", 3));
        QCOMPARE(b.stato(), atteso::connesso);
        QVERIFY(b.finestra->occupato());

        tick();
        QCOMPARE(b.abilitazioni(), QStringLiteral("01000001110"));
        QVERIFY(b.trova("Command4")->isEnabled());

        // Mid-read the type is not known yet: the mode byte the read has
        // stored must survive the tick.
        b.finestra->sessione().blocco()[Tipo_brenk] = 0;
        b.finestra->sessione().blocco()[Zelmbrenk] = 1;
        tick();
        QVERIFY(b.opzione("Opt_zelm")->isChecked());
        QCOMPARE(b.finestra->sessione().blocco()[Zelmbrenk], 1.0);

        QTest::mouseClick(b.trova("Cmd_disconetti"), Qt::LeftButton);
        QTRY_VERIFY(!b.finestra->occupato());
        QCOMPARE(linea.ricevuti(), QByteArray("LR\0E", 4));
        QCOMPARE(b.stato(), atteso::non_connesso);
        QCOMPARE(b.avvisi.testi(), QStringList()); // a cancel, not a failure
    }

    // The timers start when the window loads, that is when it is first shown.
    void caricamento()
    {
        Principale finestra(b.avvisi);
        QTest::qWait(30);
        QVERIFY(finestra.findChild<QLineEdit*>("txb_stato_con")->text().isEmpty());
        finestra.show();
        QTRY_COMPARE(finestra.findChild<QLineEdit*>("txb_stato_con")->text(), atteso::non_connesso);
        QTRY_VERIFY(!finestra.findChild<QWidget*>("Cmd_disconetti")->isEnabled());
    }

    void titolo_scorre()
    {
        const QString inizio = b.finestra->windowTitle();
        QCOMPARE(inizio.size(), 124);
        b.finestra->Tmr_scritte_Timer();
        QCOMPARE(b.finestra->windowTitle(), inizio.mid(1) + inizio.at(0));
        for (int i = 1; i < 123; ++i)
            b.finestra->Tmr_scritte_Timer();
        QVERIFY(b.finestra->windowTitle() != inizio);
        b.finestra->Tmr_scritte_Timer();
        QCOMPARE(b.finestra->windowTitle(), inizio);
    }
};

QTEST_MAIN(TestSupervisione)
#include "test_supervisione.moc"
