// SPDX-License-Identifier: GPL-3.0-or-later
// The whole path from a button of the real main window to the simulated
// transmitter and back to the screen: on the virtual line, and end to end
// through the real serial port on a pseudo-terminal (the connect, and the
// adapter pulled out).

#include "impianto.h"
#include "testi.h"
#include "scambi_attesi.h"
#include "ops/operazioni.h"
#include "ui/annuncio.h"

#include <QLabel>
#include <QSignalSpy>

#include <algorithm>
#include <csignal>
#include <numeric>

using namespace brenk;
using namespace brenk::prova;

const QStringList selezione_di_fabbrica{"Opt_bat_si", "Opt_toni_alti", "Opt_tx_mult", "Opt_zelm"};

class TestDaCapoAFondo : public QObject {
    Q_OBJECT

private slots:
    void connessione_mostra_il_trasmettitore()
    {
        Impianto i({.memoria = memoria_predefinita(Contenuto::VHF), .spazzatura = "xy"}, Linea::Reale);
        QVERIFY(i.apri_e_connetti());
        QCOMPARE(i.ricevuti(), "L" + lettura_confermata());
        QCOMPARE(i.banco.stato(), atteso::connesso);
        QCOMPARE(i.testo("CodiceBrenk"), QStringLiteral("1"));
        QCOMPARE(i.testo("FqTx"), QStringLiteral("161"));
        QCOMPARE(i.testo("Text1"), QStringLiteral("  VHF"));
        QCOMPARE(i.banco.trova<QLabel>("lab_tipo_brenk")->text(), QStringLiteral("New"));
        QCOMPARE(i.selezionate(), selezione_di_fabbrica);
        QVERIFY(i.banco.avvisi.messaggi().isEmpty());
        QCOMPARE(i.banco.avvisi.beep_contati(), 0);
        QTRY_VERIFY(i.pulsante("cmd_programma")->isEnabled());
    }

    // The type is unknown until address 60 is read: the supervision must not
    // force the Brenk mode over the mode byte the read has just stored.
    void il_modo_letto_non_viene_sovrascritto()
    {
        Impianto i;
        QVERIFY(i.banco.apri());
        for (int volta = 0; volta < 5; ++volta) {
            QVERIFY(i.connetti());
            QCOMPARE(i.banco.finestra->sessione().blocco()[Zelmbrenk], 1.0);
            QVERIFY(i.banco.opzione("Opt_zelm")->isChecked());
            QTRY_COMPARE(i.banco.finestra->focusWidget(), i.pulsante("cmd_programma"));
            QVERIFY(i.clicca("Cmd_disconetti"));
            QTRY_COMPARE(i.banco.finestra->focusWidget(), i.pulsante("Cmd_connetti"));
        }
    }

    void durante_un_operazione_solo_disconnetti_ed_esci()
    {
        Impianto i;
        QVERIFY(i.banco.apri());
        QVERIFY(i.clicca("Cmd_connetti") && i.in_stato(atteso::connesso));
        QTest::qWait(30);
        QVERIFY(i.banco.finestra->occupato());
        for (const char* nome :
             {"cmd_programma", "Cmd_init_uhf", "Cmd_init_vhf", "Cmd_tx", "Cmd_connetti", "Cmd_apri", "Cmd_salva"})
            QVERIFY2(!i.pulsante(nome)->isEnabled(), nome);
        QVERIFY(i.pulsante("Cmd_disconetti")->isEnabled());
        QVERIFY(i.pulsante("Command4")->isEnabled());
        QVERIFY(i.a_riposo());
        QTRY_VERIFY(i.pulsante("Cmd_init_uhf")->isEnabled());
    }

    void programmazione_dai_campi_modificati()
    {
        Impianto i;
        QVERIFY(i.apri_e_connetti());
        i.banco.casella("CodiceBrenk")->clear();
        QTest::keyClicks(i.banco.casella("CodiceBrenk"), "500");
        i.banco.casella("FqTx")->clear();
        QTest::keyClicks(i.banco.casella("FqTx"), "440.9149");
        QVERIFY(scegli(i.banco.combo("Cmb_n_ing_all"), "3"));
        QVERIFY(i.clicca("cmd_programma"));
        QCOMPARE(i.banco.finestra->sessione().fleg(), 1);
        QVERIFY(i.a_riposo());

        const Memoria& m = i.tx().memoria();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&m[ByteT1]), 3), QByteArray("\x02\x27\x12", 3));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&m[Byt1]), 9),
                 QByteArray("\x1C\x07\x01\xF4\x04\x78\x8E\xF9\x03", 9));
        QCOMPARE(int(m[totck]), int(complemento(std::accumulate(m.begin(), m.begin() + 37, 0LL))));
        QCOMPARE(i.dopo_connessione().size(), 62 * 3 + lettura_completa().size());
        QCOMPARE(i.testo("FqTx"), QStringLiteral("440.9125"));
        QCOMPARE(i.testo("CodiceBrenk"), QStringLiteral("500"));
        QCOMPARE(i.banco.finestra->sessione().fleg(), 0);
        QVERIFY(i.banco.avvisi.messaggi().isEmpty());
        QVERIFY(!i.banco.trova<QWidget>("ProgressBar1")->isVisible());
        QVERIFY(qobject_cast<QPushButton*>(i.banco.finestra->focusWidget()));
    }

    // The verified writing is confirmed in the progress bar's place, without a
    // box and without moving anything, until anything changes what it confirms.
    void programmazione_verificata_fino_al_primo_cambio_data()
    {
        QTest::addColumn<QString>("cambio");
        QTest::newRow("Disconetti") << "Cmd_disconetti";
        QTest::newRow("un tasto in Codice Brenk") << "CodiceBrenk";
        QTest::newRow("un tasto in N° Ing di All") << "Cmb_n_ing_all";
        QTest::newRow("un clic su Bassi") << "Opt_toni_bassi";
        QTest::newRow("testo dato a Freq Tx Mhz senza tasti") << "=FqTx"; // assistive technology, drop
        QTest::newRow("adattatore staccato") << "riaggancio";
    }
    void programmazione_verificata_fino_al_primo_cambio()
    {
        QFETCH(QString, cambio);
        Impianto i;
        QVERIFY(i.apri_e_connetti());
        auto* verifica = i.banco.trova<Annuncio>("lab_verifica");
        auto* barra = i.banco.trova<QWidget>("ProgressBar1");
        QVERIFY(!verifica->isVisible());
        QVERIFY(i.premi("cmd_programma"));
        QVERIFY(i.banco.avvisi.messaggi().isEmpty());
        QTRY_VERIFY(verifica->isVisible());
        QCOMPARE(verifica->testo(), atteso::verificato(61));
        QVERIFY(verifica->geometry().contains(barra->geometry())); // over it, taller for two lines
        QVERIFY(!barra->isVisible());
        if (cambio == "riaggancio")
            i.riaggancia();
        else if (cambio.startsWith('='))
            i.banco.casella(qPrintable(cambio.mid(1)))->setText(QStringLiteral("161"));
        else if (auto* casella = i.banco.casella(qPrintable(cambio)))
            QTest::keyClicks(casella, "5");
        else if (auto* scelta = i.banco.combo(qPrintable(cambio)))
            QTest::keyClicks(scelta, "2");
        else
            QTest::mouseClick(i.banco.trova(qPrintable(cambio)), Qt::LeftButton);
        QTRY_VERIFY(!verifica->isVisible());
    }

    void valori_di_fabbrica_uhf()
    {
        Impianto i(trasmettitore(Contenuto::Zeri));
        QVERIFY(i.apri_e_connetti());
        QVERIFY(i.premi("Cmd_init_uhf"));
        QCOMPARE(i.dopo_connessione(), scritture(blocco_fabbrica(Banda::UHF)) + lettura_completa());
        QStringList mostrati;
        for (const char* c : {"CodiceBrenk", "FqTx", "txb_tmp_rap", "txb_amp", "Cmb_n_ing_all", "Cmb_n_tx_tot",
                              "Cmb_tmr_p_all", "cmb_Zelmrep", "Text1"})
            mostrati << i.testo(c);
        QCOMPARE(mostrati, (QStringList{"1", "460", "30", "60", "1", "6", "1", "0", "  UHF"}));
        QCOMPARE(i.selezionate(), selezione_di_fabbrica);
        QCOMPARE(i.banco.avvisi.testi(), QStringList{atteso::telegrammi}); // the empty memory's read
    }

    void tempo_scaduto_alla_prima_scrittura()
    {
        Impianto i({.memoria = memoria_predefinita(Contenuto::VHF), .conferme_max = 0});
        QVERIFY(i.apri_e_connetti());
        const double inizio = i.orologio.adesso_ms();
        QVERIFY(i.premi("Cmd_init_uhf"));
        QVERIFY(i.orologio.adesso_ms() - inizio >= 3900);
        QCOMPARE(i.dopo_connessione(), QByteArray("W\x00\x1E", 3));
        QCOMPARE(i.banco.avvisi.testi(), QStringList{atteso::time_out});
        QCOMPARE(i.testo("FqTx"), QStringLiteral("161"));
    }

    void trasmissione_di_prova()
    {
        Impianto i;
        QVERIFY(i.apri_e_connetti());
        QVERIFY(i.clicca("Cmd_tx"));
        QVERIFY(!i.banco.finestra->sessione().porta().aperta());
        QVERIFY(i.attendi([&] { return i.tx().trasmissioni() == 1; }));
        QCOMPARE(i.dopo_connessione(), QByteArray("Q"));
        QCOMPARE(i.banco.stato(), atteso::non_connesso);
        QCOMPARE(i.testo("CodiceBrenk"), QString());
        QCOMPARE(i.testo("Text1"), QString());
        QTRY_VERIFY(i.pulsante("Cmd_connetti")->isEnabled());
        QVERIFY(!i.pulsante("Cmd_init_uhf")->isEnabled());
    }

    void nessuna_k_poi_disconnetti()
    {
        Impianto i(trasmettitore(Contenuto::UHF, {}, true));
        QVERIFY(i.banco.apri());
        QVERIFY(i.clicca("Cmd_connetti") && i.in_stato(atteso::in_attesa));
        QVERIFY(i.premi("Cmd_disconetti"));
        QVERIFY(i.attendi([&] { return !i.ricevuti().isEmpty(); }));
        QCOMPARE(i.ricevuti(), QByteArray("E"));
        QCOMPARE(i.banco.stato(), atteso::non_connesso);
        QVERIFY(i.banco.avvisi.messaggi().isEmpty()); // a cancel, not a failure
        QTRY_VERIFY(i.pulsante("Cmd_connetti")->isEnabled());
    }

    // The adapter pulled out: at once " Non Connesso" and the buttons of a
    // window without a connection, the fields as they were, and the port
    // named once: in the running operation's own message, or after it.
    void porta_scomparsa_data()
    {
        // 0: none; 1: Programma; 2: Connetti, awaiting the "K"; 3: none, after a
        // Connetti on a port that did not exist, told in its own words
        QTest::addColumn<int>("operazione");
        QTest::addColumn<QStringList>("messaggi"); // %1: the port
        const QString persa = QStringLiteral("Porta %1 scollegata o non più disponibile: collegamento con il "
                                             "trasmettitore interrotto. Ricollegare la porta e premere \"Connetti\".");
        QTest::newRow("connessa e ferma") << 0 << QStringList{persa};
        QTest::newRow("durante la programmazione") << 1 << QStringList{atteso::time_out, persa};
        QTest::newRow("in attesa della K")
            << 2 << QStringList{"Porta %1 scollegata o non più disponibile 8022", atteso::porta_guasta};
        QTest::newRow("connessa e ferma, dopo una porta inesistente")
            << 3 << QStringList{"Porta seriale inesistente: /nessuna 8002", atteso::porta_guasta, persa};
    }
    void porta_scomparsa()
    {
        QFETCH(int, operazione);
        QFETCH(QStringList, messaggi);
        Impianto i({.memoria = memoria_predefinita(Contenuto::UHF),
                    .mai_k = operazione == 2,
                    .conferme_ritardate = {{5, 3000}}},
                   Linea::Reale);
        QVERIFY(i.banco.apri());
        if (operazione == 3) {
            const QByteArray com1 = qgetenv("BRENK_COM1");
            qputenv("BRENK_COM1", "/nessuna");
            QVERIFY(i.connetti());
            qputenv("BRENK_COM1", com1);
        }
        if (operazione == 2) // and the supervision has seen it
            QVERIFY(i.clicca("Cmd_connetti") && i.in_stato(atteso::in_attesa)
                    && i.attendi([&] { return !i.pulsante("Cmd_connetti")->isEnabled(); }));
        else
            QVERIFY(i.connetti());
        if (operazione == 1) {
            QVERIFY(i.clicca("cmd_programma"));
            QTRY_COMPARE(i.scritture(), 6);
        }
        i.riaggancia();
        QTRY_COMPARE_WITH_TIMEOUT(i.banco.stato(), atteso::non_connesso, 500);
        QVERIFY(i.a_riposo());
        QTRY_VERIFY(i.pulsante("Cmd_connetti")->isEnabled());
        QVERIFY(!i.pulsante("Cmd_tx")->isEnabled() && !i.pulsante("cmd_programma")->isEnabled());
        QCOMPARE(i.testo("CodiceBrenk"), operazione == 2 ? QString() : QStringLiteral("1"));
        messaggi.replaceInStrings(QLatin1String("%1"), i.banco.finestra->sessione().porta().dispositivo());
        QTRY_COMPARE(i.banco.avvisi.testi(), messaggi);
        QTest::qWait(200); // and nothing told twice
        QCOMPARE(i.banco.avvisi.testi(), messaggi);
    }

    // Leaving by "ESCI" or by a signal to end: the exchange in flight ends
    // first (its acknowledgement or reply, or 4000 ms without), then the
    // farewell "E" reaches the transmitter as a letter, which unlinks it. A
    // loading cut short still leaves its line in the record.
    void uscita_dopo_lo_scambio_in_corso_data()
    {
        QTest::addColumn<int>("segnale");     // 0: "ESCI"
        QTest::addColumn<char>("scambio");    // 'W': write 5 of "VHF"; 'R': read 5 of the connect; 0: none
        QTest::addColumn<int>("risposta_ms"); // its acknowledgement or reply, late by; -1: never
        QTest::newRow("ESCI, conferma che non arriva") << 0 << 'W' << -1;
        QTest::newRow("SIGTERM, conferma in ritardo") << SIGTERM << 'W' << 400;
        QTest::newRow("SIGHUP, conferma in ritardo") << SIGHUP << 'W' << 400;
        QTest::newRow("SIGINT, connesso") << SIGINT << '\0' << 0;
        QTest::newRow("ESCI, risposta che non arriva") << 0 << 'R' << -1;
        QTest::newRow("SIGTERM, risposte in ritardo") << SIGTERM << 'R' << 400;
    }
    void uscita_dopo_lo_scambio_in_corso()
    {
        QFETCH(int, segnale);
        QFETCH(char, scambio);
        QFETCH(int, risposta_ms);
        OpzioniSimulatore o{.memoria = memoria_predefinita(Contenuto::UHF)};
        if (scambio == 'R' && risposta_ms < 0)
            o.risposte_sostituite = {{5, {}}};
        else if (scambio == 'R')
            o.ritardo_risposte_ms = risposta_ms;
        else if (risposta_ms < 0)
            o.conferme_max = 5;
        else
            o.conferme_ritardate = {{5, risposta_ms}};
        Impianto i(o);
        QVERIFY(i.banco.apri());
        QFile registro(i.file("registro.csv"));
        i.banco.finestra->usa_registro(i.file("registro.sqlite"));
        if (scambio == 'R') // once "R" 5 has gone out
            QVERIFY(i.clicca("Cmd_connetti") && i.attendi([&] { return i.ricevuti().size() >= 13; }));
        else
            QVERIFY(i.connetti());
        QSignalSpy uscita(i.banco.finestra.get(), &Principale::uscita);
        QByteArray attesi = "L" + lettura_confermata();
        if (scambio == 'W') {
            QVERIFY(i.clicca("Cmd_init_vhf") && i.attendi([&] { return i.scritture() == 6; }));
            attesi += scritture(std::span(blocco_fabbrica(Banda::VHF)).first(6));
        }
        if (segnale != 0)
            raise(segnale);
        else
            QVERIFY(i.clicca("Command4"));
        // The window goes at once, the line's time standing still.
        QVERIFY(QTest::qWaitFor([&] { return !i.banco.finestra->isVisible(); }));
        QVERIFY(i.attendi([&] { return i.ricevuti().endsWith('E'); }));
        QCOMPARE(uscita.size(), 1);
        if (scambio == 'R') // as far as the read had gone
            attesi.truncate(i.ricevuti().size() - 1);
        QCOMPARE(i.ricevuti(), attesi + "E");
        QVERIFY(!i.tx().collegato());
        const auto& ricevuti = i.tx().registro_ricevuti();
        const double ultima_richiesta_ms = ricevuti[ricevuti.size() - 2].ms;
        const auto& linea = i.linea->registro();
        const auto arrivato = std::find_if(linea.rbegin(), linea.rend(), [](const auto& p) { return !p.dal_pc; });
        if (risposta_ms < 0)
            QVERIFY(ricevuti.last().ms - ultima_richiesta_ms >= 3900);
        else // the last byte for the PC had arrived before the "E" did
            QVERIFY(arrivato->ms < ricevuti.last().ms);
        QVERIFY(i.banco.avvisi.messaggi().isEmpty());
        QVERIFY(!i.banco.finestra->sessione().giornata().esporta_csv(registro.fileName()));
        QVERIFY(registro.open(QIODevice::ReadOnly));
        // A late "K" comes within the exchange the way out waits for: it counts.
        const auto riga = QStringLiteral(",Interrotta all'uscita dal programma dopo %1 scritture confermate,no,");
        QCOMPARE(QString::fromUtf8(registro.readAll()).count(riga.arg(risposta_ms < 0 ? 5 : 6)),
                 scambio == 'W' ? 1 : 0);
    }
};

QTEST_MAIN(TestDaCapoAFondo)
#include "test_da_capo_a_fondo.moc"
