// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's fields as the operator meets them: start state, combo
// picks, the repeater rule, the option store and the port box.

#include "banco.h"

#include "params/blocco.h"

#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QProgressBar>

using namespace brenk;

class TestCampi : public ProvaSulBanco {
    Q_OBJECT

private slots:
    void stato_iniziale()
    {
        for (const char* nome : {"CodiceBrenk", "FqTx", "txb_tmp_rap", "txb_amp", "Text1", "Text7"})
            QVERIFY2(b.casella(nome)->text().isEmpty(), nome);
        // As built, before its first evaluation (10 ms after it shows), the
        // status is empty and the type reads "New"; then " Non Connesso" and none.
        const Principale costruita(b.avvisi);
        QCOMPARE(costruita.findChild<QLineEdit*>("txb_stato_con")->text(), QString());
        QCOMPARE(costruita.findChild<QLabel*>("lab_tipo_brenk")->text(), QStringLiteral("New"));
        const QString titolo = costruita.windowTitle(); // scrolls from 150 ms after it shows
        QCOMPARE(titolo.size(), 124);
        QVERIFY(titolo.endsWith(QStringLiteral("Brenk  Versione ZeduRuzozudovav") + QString(18, u' ')));
        for (const char* nome : {"Cmb_n_ing_all", "Cmb_N_ing_bat", "Cmb_n_tx_tot", "cmb_Zelmrep", "Cmb_tmr_p_all"})
            QVERIFY2(b.combo(nome)->currentText().isEmpty(), nome);
        QCOMPARE(b.combo("Cmb_com")->currentText(), QStringLiteral("Com 1"));

        for (const char* nome : {"Opt_toni_alti", "Opt_bat_no", "Opt_tx_mult", "Opt_zelm"})
            QVERIFY2(b.opzione(nome)->isChecked(), nome);
        // Shown selected, yet nothing is stored before a read or a click.
        for (int indirizzo : {TONIHL, Ning, TxSM, Zelmbrenk})
            QCOMPARE(b.finestra->sessione().blocco()[indirizzo], 0.0);

        for (const char* nome : {"opt_brenk", "lab_brenk", "Cmb_N_ing_bat", "lab_su_ing", "ProgressBar1"})
            QVERIFY2(!b.trova(nome)->isVisibleTo(b.finestra.get()), nome);
        QVERIFY(!b.combo("Cmb_N_ing_bat")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), b.combo("cmb_Zelmrep"));
        QTRY_COMPARE(b.stato(), QStringLiteral(" Non Connesso"));
        QTRY_COMPARE(b.trova<QLabel>("lab_tipo_brenk")->text(), QString());
    }

    // Screen readers and GUI automation find every field, option and group.
    void nomi_accessibili()
    {
        int nominati = 0;
        for (QWidget* w : b.finestra->findChildren<QWidget*>()) {
            const bool casella = qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w->parentWidget());
            auto* gruppo = qobject_cast<QGroupBox*>(w);
            if (casella || qobject_cast<QComboBox*>(w) || qobject_cast<QRadioButton*>(w)) {
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
                ++nominati;
            } else if (gruppo && !gruppo->title().isEmpty()) {
                QCOMPARE(gruppo->accessibleName(), gruppo->title());
                ++nominati;
            }
        }
        // 8 text boxes, 6 combo boxes, 8 option buttons, 16 groups with a caption.
        QCOMPARE(nominati, 8 + 6 + 8 + 16);
        const std::pair<const char*, const char*> attesi[] = {
            {"CodiceBrenk", "Codice Brenk"},    {"Opt_toni_bassi", "Bassi"},
            {"Cmb_n_ing_all", "N° Ing di All"}, {"Cmb_N_ing_bat", "Ripristino Ing di Allarme"},
            {"Cmb_n_tx_tot", "N° di Tx Tot"},   {"cmb_Zelmrep", "Cod Rep"},
            {"Cmb_tmr_p_all", "Filtro P. All"}, {"Cmb_com", "Porta"}};
        for (auto [nome, atteso] : attesi)
            QCOMPARE(b.trova(nome)->accessibleName(), QString::fromUtf8(atteso));
    }

    void sola_lettura()
    {
        for (const char* nome : {"txb_stato_con", "Text1", "Text7"}) {
            QTest::keyClick(b.casella(nome), Qt::Key_Q);
            QVERIFY2(b.casella(nome)->text().isEmpty(), nome);
        }
    }

    // The longest note is read whole: wrapped on two lines of the window's
    // font, in a label that stays inside the help line's frame.
    void nota_intera()
    {
        const QString nota = QStringLiteral(
            "Nessun trasmettitore su Com 1 (/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3D4-if00-port0): "
            "accenderlo e controllare il cavo. \"Disconetti\" termina l'attesa.");
        b.finestra->mostra_nota(nota);
        auto* etichetta = b.trova("lab_verifica");
        QTRY_VERIFY(etichetta->isVisible());
        const QRect spazio = etichetta->contentsRect();
        QVERIFY(spazio.height() >= 2 * QFontMetrics(b.finestra->font()).lineSpacing());
        QVERIFY(
            spazio.contains(etichetta->fontMetrics().boundingRect(spazio, Qt::AlignCenter | Qt::TextWordWrap, nota)));
        QVERIFY(b.trova("Frame12")->rect().contains(etichetta->geometry()));
    }

    // The focus visits the selected button of each pair only, and passes over
    // hidden and disabled controls (here: the " Non Connesso" start state).
    void ordine_di_tabulazione()
    {
        QTRY_COMPARE(b.stato(), QStringLiteral(" Non Connesso"));
        QTRY_VERIFY(!b.trova("Cmd_disconetti")->isEnabled());
        b.combo("cmb_Zelmrep")->setFocus();
        QStringList visitati{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == b.combo("cmb_Zelmrep"))
                break;
            visitati << QApplication::focusWidget()->objectName();
        }
        const QStringList atteso{"cmb_Zelmrep",  "Cmb_n_tx_tot",  "Opt_toni_alti", "Opt_tx_mult",   "Opt_bat_no",
                                 "CodiceBrenk",  "FqTx",          "txb_tmp_rap",   "txb_amp",       "Cmb_n_ing_all",
                                 "Cmd_connetti", "Cmb_com",       "Text7",         "Command4",      "Cmd_apri",
                                 "Cmd_salva",    "Chk_serie",     "Chk_registro",  "txb_assegnato", "txb_stato_con",
                                 "Opt_zelm",     "Cmb_tmr_p_all", "Text1"};
        QCOMPARE(visitati, atteso);
    }

    void liste_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("voci");
        auto numeri = [](int da, int a) {
            QStringList v;
            for (int i = da; i <= a; ++i)
                v << QString::number(i);
            return v;
        };
        QTest::newRow("ingresso di allarme") << "Cmb_n_ing_all" << numeri(1, 8);
        QTest::newRow("ingresso da ripristinare") << "Cmb_N_ing_bat" << numeri(1, 8);
        QTest::newRow("trasmissioni") << "Cmb_n_tx_tot" << numeri(1, 10);
        QTest::newRow("codice ripetitore") << "cmb_Zelmrep" << numeri(0, 63);
        QTest::newRow("filtro pulsante") << "Cmb_tmr_p_all" << numeri(0, 5);
        QTest::newRow("porta")
            << "Cmb_com" << QStringList{"Com 1", "Com 2", "Com 3", "Com 4", "Com 5", "Com 6", "Com 7", "Com 8"};
    }

    void liste()
    {
        QFETCH(QString, nome);
        QFETCH(QStringList, voci);
        QComboBox* c = b.combo(qPrintable(nome));
        QStringList trovate;
        for (int i = 0; i < c->count(); ++i)
            trovate << c->itemText(i);
        QCOMPARE(trovate, voci);
        QVERIFY(c->isEditable());
        QCOMPARE(c->insertPolicy(), QComboBox::NoInsert);
        QCOMPARE(c->maxVisibleItems(), 8);
        // A new window shows "Com 1" and no number.
        QCOMPARE(c->currentText(), nome == "Cmb_com" ? voci.first() : QString());
    }

    void scelta_sposta_il_fuoco()
    {
        QComboBox* trasmissioni = b.combo("Cmb_n_tx_tot");
        QVERIFY(scegli(trasmissioni, QStringLiteral("7")));
        QTRY_COMPARE(b.finestra->focusWidget(), b.opzione("Opt_toni_alti"));
        QCOMPARE(trasmissioni->currentText(), QStringLiteral("7"));
        QVERIFY(trasmissioni->isVisible());
        QVERIFY(!trasmissioni->view()->isVisible());
    }

    void regola_ripetitore_data()
    {
        QTest::addColumn<bool>("zelm");
        QTest::addColumn<QString>("voce");
        QTest::addColumn<bool>("bassi");
        QTest::newRow("zelm, codice 5") << true << "5" << true;
        QTest::newRow("zelm, codice 1") << true << "1" << true;
        QTest::newRow("zelm, codice 63") << true << "63" << true;
        QTest::newRow("zelm, codice 0") << true << "0" << false;
        QTest::newRow("brenk, codice 5") << false << "5" << false;
    }

    void regola_ripetitore()
    {
        QFETCH(bool, zelm);
        QFETCH(QString, voce);
        QFETCH(bool, bassi);
        if (!zelm)
            b.finestra->seleziona(Opzione::opt_brenk);
        QComboBox* ripetitore = b.combo("cmb_Zelmrep");
        QVERIFY(scegli(ripetitore, voce));
        QTRY_COMPARE(b.finestra->focusWidget(), b.combo("Cmb_n_tx_tot"));
        QCOMPARE(ripetitore->currentText(), voce);
        QCOMPARE(b.opzione("Opt_toni_bassi")->isChecked(), bassi);
        QCOMPARE(b.opzione("Opt_toni_alti")->isChecked(), !bassi);
        QCOMPARE(b.finestra->sessione().blocco()[TONIHL], bassi ? 1.0 : 0.0);
    }

    // Typing a code, with Enter after it or leaving the box, or setting it from
    // code is no pick.
    void ripetitore_digitato_non_conta()
    {
        QComboBox* ripetitore = b.combo("cmb_Zelmrep");
        ripetitore->setFocus();
        QTest::keyClicks(ripetitore, QStringLiteral("5"));
        QTest::keyClick(ripetitore, Qt::Key_Return);
        QTest::keyClick(ripetitore, Qt::Key_Tab);
        QVERIFY(!ripetitore->hasFocus());
        b.finestra->imposta_testo(Campo::cmb_Zelmrep, QStringLiteral("7"));
        QTest::qWait(50);
        QVERIFY(b.opzione("Opt_toni_alti")->isChecked());
        QCOMPARE(b.finestra->sessione().blocco()[TONIHL], 0.0);
        QCOMPARE(ripetitore->currentText(), QStringLiteral("7"));
    }

    void opzioni_al_clic_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("altro"); // the other button of the pair
        QTest::addColumn<int>("indirizzo");
        QTest::addColumn<double>("valore");
        QTest::newRow("Sing") << "Opt_tx_sing"
                              << "Opt_tx_mult" << int(TxSM) << 0.0;
        QTest::newRow("Bassi") << "Opt_toni_bassi"
                               << "Opt_toni_alti" << int(TONIHL) << 1.0;
        QTest::newRow("Si") << "Opt_bat_si"
                            << "Opt_bat_no" << int(Ning) << 1.0;
    }

    // A click stores the button's value; clicking the other one of the pair
    // stores the other value.
    void opzioni_al_clic()
    {
        QFETCH(QString, nome);
        QFETCH(QString, altro);
        QFETCH(int, indirizzo);
        QFETCH(double, valore);
        QRadioButton* pulsante = b.opzione(qPrintable(nome));
        b.finestra->sessione().blocco()[indirizzo] = 7;
        QTest::mouseClick(pulsante, Qt::LeftButton);
        QVERIFY(pulsante->isChecked());
        QCOMPARE(b.finestra->sessione().blocco()[indirizzo], valore);
        QTest::mouseClick(b.opzione(qPrintable(altro)), Qt::LeftButton);
        QVERIFY(!pulsante->isChecked());
        QCOMPARE(b.finestra->sessione().blocco()[indirizzo], 1.0 - valore);
    }

    // Selecting from code acts as a click only when the selection changes, so
    // a mode byte just read is not overwritten by a re-selection.
    void opzioni_da_codice_solo_se_cambiano()
    {
        BloccoParametri& blocco = b.finestra->sessione().blocco();
        blocco[Zelmbrenk] = 5;
        b.finestra->seleziona(Opzione::Opt_zelm);
        QCOMPARE(blocco[Zelmbrenk], 5.0);

        b.finestra->seleziona(Opzione::opt_brenk);
        QVERIFY(b.finestra->selezionata(Opzione::opt_brenk));
        QVERIFY(!b.opzione("Opt_zelm")->isChecked());
        QCOMPARE(blocco[Zelmbrenk], 0.0);

        blocco[Zelmbrenk] = 5;
        b.finestra->seleziona(Opzione::opt_brenk);
        QCOMPARE(blocco[Zelmbrenk], 5.0);
        b.finestra->seleziona(Opzione::Opt_zelm);
        QCOMPARE(blocco[Zelmbrenk], 1.0);

        // A byte that is neither 0 nor 1 leaves the pair with no selection.
        b.finestra->nessuna_scelta(Opzione::Opt_zelm);
        QVERIFY(!b.opzione("Opt_zelm")->isChecked() && !b.opzione("opt_brenk")->isChecked());
    }

    void testo_dei_campi_da_codice()
    {
        const QList<std::pair<Campo, const char*>> campi{
            {Campo::CodiceBrenk, "CodiceBrenk"},     {Campo::FqTx, "FqTx"},
            {Campo::txb_tmp_rap, "txb_tmp_rap"},     {Campo::txb_amp, "txb_amp"},
            {Campo::Cmb_n_ing_all, "Cmb_n_ing_all"}, {Campo::Cmb_N_ing_bat, "Cmb_N_ing_bat"},
            {Campo::Cmb_n_tx_tot, "Cmb_n_tx_tot"},   {Campo::cmb_Zelmrep, "cmb_Zelmrep"},
            {Campo::Cmb_tmr_p_all, "Cmb_tmr_p_all"}, {Campo::Text1, "Text1"}};
        for (const auto& [campo, nome] : campi) {
            const QString valore = QStringLiteral("1%1").arg(int(campo));
            b.finestra->imposta_testo(campo, valore);
            QCOMPARE(b.finestra->testo(campo), valore);
            QComboBox* lista = b.combo(nome);
            QCOMPARE(lista ? lista->currentText() : b.casella(nome)->text(), valore);
        }
        // A combo text outside the list stays as it is.
        b.finestra->imposta_testo(Campo::Cmb_n_tx_tot, QStringLiteral("12"));
        QCOMPARE(b.combo("Cmb_n_tx_tot")->currentText(), QStringLiteral("12"));
        QCOMPARE(b.avvisi.beep_contati(), 0);
    }

    // Each typed change in the port box: " Errore com" and a beep; the port is
    // left alone. A text set from code is no typing.
    void porta_digitata()
    {
        b.casella("Text7")->setText(QStringLiteral(" altro aiuto"));
        QComboBox* porta = b.combo("Cmb_com");
        porta->setFocus();
        QTest::keyClick(porta, Qt::Key_X);
        QCOMPARE(b.aiuto(), QStringLiteral(" Errore com"));
        QCOMPARE(b.avvisi.beep_contati(), 1);
        QTest::keyClick(porta, Qt::Key_Backspace);
        QCOMPARE(b.avvisi.beep_contati(), 2);
        QCOMPARE(b.finestra->sessione().porta().numero(), 1);
        porta->setEditText(QStringLiteral("Com 2"));
        QCOMPARE(b.avvisi.beep_contati(), 2);
    }

    void porta_scelta_chiude_la_porta()
    {
        LineaCom1 linea;
        QVERIFY(linea.valido());
        PortaSeriale& porta = b.finestra->sessione().porta();
        porta.apri_porta();
        QVERIFY(porta.aperta());
        QComboBox* casella = b.combo("Cmb_com");
        QVERIFY(scegli(casella, QStringLiteral("Com 8")));
        QTRY_VERIFY(!porta.aperta());
        QCOMPARE(porta.numero(), 8);
        QCOMPARE(casella->currentText(), QStringLiteral("Com 8"));
        QVERIFY(casella->isEnabled());
        QVERIFY(b.finestra->focusWidget() != casella);
        QCOMPARE(b.avvisi.beep_contati(), 0);
        QVERIFY(linea.ricevuti().isEmpty());
    }

    // The tooltip tells which device each "Com n" stands for at the moment it is shown.
    void suggerimento_porte()
    {
        QComboBox* porta = b.combo("Cmb_com");
        auto suggerimento = [porta] {
            QHelpEvent evento(QEvent::ToolTip, QPoint(5, 5), porta->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(porta, &evento);
            return porta->toolTip().split(u'\n');
        };
        qputenv("BRENK_COM2", "/dev/prima");
        QStringList righe = suggerimento();
        QCOMPARE(righe.size(), 8);
        QCOMPARE(righe.at(1), QStringLiteral("Com 2: /dev/prima"));
        qputenv("BRENK_COM2", "/dev/seconda");
        righe = suggerimento();
        QCOMPARE(righe.at(1), QStringLiteral("Com 2: /dev/seconda"));
        qunsetenv("BRENK_COM2");
    }

    // The progress bar lies over the help line and hides it while shown.
    void barra_di_avanzamento()
    {
        auto* barra = b.trova<QProgressBar>("ProgressBar1");
        QLineEdit* aiuto = b.casella("Text7");
        QCOMPARE(barra->geometry(), aiuto->geometry());
        QCOMPARE(barra->minimum(), 0);
        b.finestra->imposta_massimo_progresso(63);
        b.finestra->imposta_progresso(10);
        b.finestra->mostra_progresso(true);
        const QPoint centro = aiuto->mapTo(b.finestra.get(), aiuto->rect().center());
        QCOMPARE(b.finestra->childAt(centro), barra);
        QCOMPARE(barra->maximum(), 63);
        QTRY_COMPARE(barra->value(), 10);
        b.finestra->mostra_progresso(false);
        QCOMPARE(b.finestra->childAt(centro), aiuto);
    }
};

QTEST_MAIN(TestCampi)
#include "test_campi.moc"
