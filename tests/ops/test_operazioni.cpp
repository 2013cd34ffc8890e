// SPDX-License-Identifier: GPL-3.0-or-later
// The device operations against the simulated transmitter on a
// pseudo-terminal, through the real serial port: the bytes on the wire and
// what the window is told.

#include "testi.h"
#include "banco_operazioni.h"
#include "fabbrica_attesa.h"
#include "ops/verifica.h"
#include "params/frequenza.h"

#include <QTest>


using namespace brenk;
using namespace brenk::prova;

class TestOperazioni : public QObject {
    Q_OBJECT

private slots:
    void connessione_ignora_quel_che_precede_la_k()
    {
        auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
        o.spazzatura = "x";
        Banco b(o);
        b.fleg = 7;
        QVERIFY(b.connetti());
        QCOMPARE(b.sim.ricevuti(), "L" + lettura_completa());
        QCOMPARE(b.finestra.stato, atteso::connesso);
        QCOMPARE(b.fleg, 0);
        QVERIFY(b.finestra.messaggi.isEmpty());
    }

    void lettura_di_un_trasmettitore_uhf()
    {
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        const QMap<Campo, QString> attesi{
            {Campo::CodiceBrenk, "1"}, {Campo::FqTx, "460"}, {Campo::txb_tmp_rap, "30"},
            {Campo::txb_amp, "60"}, {Campo::Cmb_n_ing_all, "1"}, {Campo::Cmb_N_ing_bat, "1"},
            {Campo::Cmb_n_tx_tot, "6"}, {Campo::Cmb_tmr_p_all, "1"}, {Campo::cmb_Zelmrep, "0"},
            {Campo::Text1, "  UHF"}};
        QCOMPARE(b.finestra.testi, attesi);
        QCOMPARE(b.finestra.tipo, QStringLiteral("New"));
        QVERIFY(b.finestra.selezionata(Opzione::Opt_toni_alti));
        QVERIFY(b.finestra.selezionata(Opzione::Opt_tx_mult));
        QVERIFY(b.finestra.selezionata(Opzione::Opt_bat_si));
        QVERIFY(b.finestra.selezionata(Opzione::Opt_zelm));
        QCOMPARE(b.finestra.progresso_massimo, 62);
        QVERIFY(!b.finestra.progresso_visibile);
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.blocco[ByteT3], 0.0);
        QCOMPARE(b.blocco[Ning], 1.0);
    }

    void checksum_errato_un_messaggio_dopo_la_barra()
    {
        auto o = con_memoria(memoria_predefinita(Contenuto::VHF));
        o.checksum_errato = true;
        Banco b(o);
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::errore_lettura});
        const auto& eventi = b.finestra.eventi;
        QVERIFY(eventi.indexOf(QStringLiteral("barra nascosta")) < eventi.indexOf(atteso::errore_lettura));
        QCOMPARE(b.finestra.testi.value(Campo::FqTx), QStringLiteral("161"));
        QCOMPARE(b.finestra.testi.value(Campo::Text1), QStringLiteral("  VHF"));
    }

    // The disturbed read is read again at once, and only the clean read is
    // shown: a new type's vouched for by its checksum, an old type's by a
    // second read that agrees.
    void un_byte_in_piu_fa_rileggere_data()
    {
        QTest::addColumn<Contenuto>("contenuto");
        QTest::addColumn<int>("dopo");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<int>("letture");
        QTest::newRow("nuovo, a metà") << Contenuto::UHF << 5 << "New" << 2;
        QTest::newRow("vecchio, a metà") << Contenuto::Vecchio << 5 << "Old" << 3;
        QTest::newRow("nuovo, dopo l'ultima risposta") << Contenuto::UHF << 62 << "New" << 2;
        QTest::newRow("vecchio, dopo l'ultima risposta") << Contenuto::Vecchio << 62 << "Old" << 3;
    }
    void un_byte_in_piu_fa_rileggere()
    {
        QFETCH(Contenuto, contenuto);
        QFETCH(int, dopo);
        QFETCH(QString, tipo);
        QFETCH(int, letture);
        auto o = con_memoria(memoria_predefinita(contenuto));
        o.extra_dopo = dopo;
        Banco b(o);
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{});
        QCOMPARE(b.finestra.tipo, tipo);
        QCOMPARE(b.finestra.testi.value(Campo::txb_amp), QStringLiteral("60"));
        QCOMPARE(b.blocco[BaseD1], 5.0);
        QCOMPARE(b.sim.ricevuti(), "L" + lettura_completa(letture));
    }

    // No checksum vouches for an old type's read: a second read must agree.
    void tipo_vecchio_nessun_controllo()
    {
        auto m = memoria_predefinita(Contenuto::UHF);
        m[Tipo_brenk] = 0;
        m[totck] = 3;
        Banco b(con_memoria(m));
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.tipo, QStringLiteral("Old"));
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.sim.ricevuti(), "L" + lettura_completa(2));
    }

    void decodifica_data()
    {
        QTest::addColumn<Modifiche>("modifiche");
        QTest::addColumn<Campo>("campo");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<int>("beep");
        QTest::newRow("zelm scarta i bit del ripetitore")
            << Modifiche{{Byt3, 0xFF}, {Byt4, 0xFF}} << Campo::CodiceBrenk << "1023" << 0;
        QTest::newRow("brenk tiene tutto il byte alto")
            << Modifiche{{Byt3, 0xFF}, {Byt4, 0xFF}, {Zelmbrenk, 0}} << Campo::CodiceBrenk << "65535" << 0;
        QTest::newRow("maschera 0 lascia il testo") << Modifiche{{Byt5, 0}} << Campo::Cmb_n_ing_all << "5" << 0;
        QTest::newRow("maschera 3 lascia il testo") << Modifiche{{Byt5, 3}} << Campo::Cmb_n_ing_all << "5" << 0;
        QTest::newRow("maschera 128") << Modifiche{{Byt5, 128}} << Campo::Cmb_n_ing_all << "8" << 0;
        QTest::newRow("brenk ingresso dai bit bassi")
            << Modifiche{{Zelmbrenk, 0}, {Byt6, 0xC7}} << Campo::Cmb_n_ing_all << "8" << 0;
        QTest::newRow("brenk ingresso di allarme dal telegramma di allarme")
            << Modifiche{{Zelmbrenk, 0}, {Byt6, 0xC2}, {Byte6, 0x05}} << Campo::Cmb_n_ing_all << "3" << 0;
        QTest::newRow("brenk ingresso di ripristino dal telegramma di ripristino")
            << Modifiche{{Zelmbrenk, 0}, {Byt6, 0xC2}, {Byte6, 0x05}} << Campo::Cmb_N_ing_bat << "6" << 0;
        QTest::newRow("zelm ingresso di ripristino dalla sua maschera")
            << Modifiche{{Byt5, 4}, {Byte5, 32}} << Campo::Cmb_N_ing_bat << "6" << 0;
        QTest::newRow("banda sconosciuta lascia il testo") << Modifiche{{brenkVU, 0}} << Campo::Text1 << "prima" << 0;
        QTest::newRow("toni fuori coppia") << Modifiche{{TONIHL, 2}} << Campo::Text1 << "  UHF" << 1;
        QTest::newRow("trasmissione fuori coppia") << Modifiche{{TxSM, 9}} << Campo::Text1 << "  UHF" << 1;
        QTest::newRow("modo fuori coppia") << Modifiche{{Zelmbrenk, 3}} << Campo::Text1 << "  UHF" << 1;
        QTest::newRow("ripristino fuori coppia, muto") << Modifiche{{Ning, 2}} << Campo::Text1 << "  UHF" << 0;
        QTest::newRow("zero all'indirizzo 0") << Modifiche{{tempopre_rap, 0}} << Campo::txb_tmp_rap << "0" << 0;
        QTest::newRow("frequenza con mezzo passo")
            << Modifiche{{ByteT1, 0}, {ByteT2, 201}, {ByteT3, 9}} << Campo::FqTx << "160.85625" << 0;
    }
    void decodifica()
    {
        QFETCH(Modifiche, modifiche);
        QFETCH(Campo, campo);
        QFETCH(QString, atteso);
        QFETCH(int, beep);
        Banco b(con_memoria(uhf_con(modifiche)));
        b.finestra.testi[Campo::Cmb_n_ing_all] = "5";
        b.finestra.testi[Campo::Text1] = "prima";
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi.value(campo), atteso);
        QCOMPARE(b.finestra.beep_suonati, beep);
        QVERIFY(b.finestra.messaggi.isEmpty());
    }

    // Neither button tells what the transmitter holds.
    void toni_fuori_coppia_nessun_bottone()
    {
        Banco b(con_memoria(uhf_con({{TONIHL, 2}})));
        b.finestra.seleziona(Opzione::Opt_toni_bassi);
        QVERIFY(b.connetti());
        QVERIFY(!b.finestra.selezionata(Opzione::Opt_toni_bassi));
        QVERIFY(!b.finestra.selezionata(Opzione::Opt_toni_alti));
    }

    void porta_inesistente_due_messaggi()
    {
        Banco b(con_memoria({}));
        qputenv("BRENK_COM1", "/dev/nessuna-porta-qui");
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.messaggi.size(), 2);
        QCOMPARE(b.finestra.messaggi[0].icona, Icona::Nessuna);
        QVERIFY(b.finestra.messaggi[0].testo.endsWith(QStringLiteral(" 8002")));
        QCOMPARE(b.finestra.messaggi[1].testo, atteso::porta_guasta);
        QCOMPARE(b.finestra.messaggi[1].icona, Icona::Esclamazione);
        QCOMPARE(b.finestra.stato, atteso::non_connesso);
    }

    void nessuna_k_poi_disconnessione()
    {
        auto o = con_memoria({});
        o.mai_k = true;
        Banco b(o);
        b.finestra.testi[Campo::CodiceBrenk] = "12";
        QVERIFY(b.esecutore.avvia(connetti(b.contesto)));
        QTRY_COMPARE(b.finestra.stato, atteso::in_attesa);
        QTest::qWait(300);
        QVERIFY(b.esecutore.in_corso());
        QVERIFY(b.finestra.messaggi.isEmpty());

        congeda(b.contesto, 'E');
        QCOMPARE(b.finestra.stato, atteso::non_connesso);
        QCOMPARE(b.finestra.testi.value(Campo::CodiceBrenk), QString());
        QTRY_VERIFY(!b.esecutore.in_corso());
        QTRY_COMPARE(b.sim.ricevuti(), QByteArray("E"));
        QCOMPARE(b.finestra.messaggi.size(), 2);
        QCOMPARE(b.finestra.messaggi[1].testo, atteso::porta_guasta);
    }

    void linea_persa_durante_la_lettura()
    {
        auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
        o.riaggancia_dopo = 20;
        Banco b(o);
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.messaggi.size(), 2);
        QCOMPARE(b.finestra.messaggi[1].testo, atteso::porta_guasta);
        QVERIFY(b.finestra.progresso_visibile);
        QVERIFY(b.finestra.testi.isEmpty());
        QCOMPARE(b.finestra.stato, atteso::connesso);
    }

    void disconnessione_e_trasmissione_di_prova_data()
    {
        QTest::addColumn<char>("lettera");
        QTest::addColumn<int>("trasmissioni");
        QTest::newRow("Disconetti") << 'E' << 0;
        QTest::newRow("TX") << 'Q' << 1;
    }
    void disconnessione_e_trasmissione_di_prova()
    {
        QFETCH(char, lettera);
        QFETCH(int, trasmissioni);
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        const BloccoParametri letto = b.blocco;
        congeda(b.contesto, lettera);
        QVERIFY(!b.porta.aperta());
        QCOMPARE(b.finestra.stato, atteso::non_connesso);
        for (const auto& testo : std::as_const(b.finestra.testi))
            QVERIFY(testo.isEmpty());
        QCOMPARE(b.blocco.valori, letto.valori);
        QTRY_COMPARE(b.dopo_connessione(), QByteArray(1, lettera));
        QCOMPARE(b.sim.trasmissioni(), trasmissioni);

        congeda(b.contesto, lettera);
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::senza_lettura});
        QTest::qWait(20);
        QCOMPARE(b.dopo_connessione(), QByteArray(1, lettera));
    }

    // The adapter went before the button was pressed: the operator is told
    // in the port's words, as nothing could go out. A connect that cannot
    // open it forgets the read all the same.
    void porta_scomparsa_data()
    {
        QTest::addColumn<int>("pulsante");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("TX") << 0 << "Trasmissione di prova non avviata: Porta %1 scollegata o non più disponibile";
        QTest::newRow("Programma") << 1 << "Porta %1 scollegata o non più disponibile 8022";
        QTest::newRow("UHF") << 2 << "Porta %1 scollegata o non più disponibile 8022";
        QTest::newRow("Connetti che non apre la porta, poi Programma") << 3 << atteso::senza_lettura;
    }
    void porta_scomparsa()
    {
        QFETCH(int, pulsante);
        QFETCH(QString, messaggio);
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        b.sim.riaggancia();
        QTRY_VERIFY(!b.porta.aperta());
        QVERIFY(b.esegui(pulsante == 0   ? trasmissione_di_prova(b.contesto)
                         : pulsante == 1 ? programma(b.contesto)
                         : pulsante == 2 ? carica_fabbrica(b.contesto, Banda::UHF)
                                         : connetti(b.contesto)));
        if (pulsante == 3) {
            b.finestra.messaggi.clear();
            QVERIFY(b.esegui(programma(b.contesto)));
        }
        messaggio.replace(QLatin1String("%1"), b.porta.dispositivo());
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{messaggio});
    }

    void programmazione_di_un_tipo_nuovo()
    {
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        const auto attese = programmazione_uhf();
        QCOMPARE(b.dopo_connessione(), scritture(attese) + lettura_completa());
        QCOMPARE(b.finestra.massimi, (QList<int>{62, 61, 62}));
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.finestra.conferma, QStringLiteral("Verificato: gli indirizzi 0 - 61 contengono i valori scritti"));
        QCOMPARE(b.fleg, 0);
        QVERIFY(!b.finestra.progresso_visibile);
    }

    // The fixed 2, 3 and 1 go out whatever was read, and the checksum with them.
    void costanti_e_checksum_qualunque_cosa_si_sia_letto()
    {
        Banco b(con_memoria(uhf_con({{ncicli, 5}, {Byt12, 0}, {Zelmbrenk, 0}})));
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        const Memoria& m = b.sim.memoria();
        QCOMPARE(int(m[ncicli]), 2);
        QCOMPARE(int(m[Byt12]), 3);
        QCOMPARE(int(m[Zelmbrenk]), 1);
        QCOMPARE(int(m[totck]), int(complemento(std::accumulate(m.begin(), m.begin() + 37, 0LL))));
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.blocco[ncicli], 2.0);
    }

    void programmazione_di_un_tipo_vecchio()
    {
        auto m = memoria_predefinita(Contenuto::UHF);
        m[Tipo_brenk] = 'n';
        Banco b(con_memoria(m));
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        const auto attese = programmazione_uhf();
        QCOMPARE(b.dopo_connessione(), scritture(std::span(attese).first(34)) + lettura_completa());
        QCOMPARE(b.finestra.massimi, (QList<int>{62, 62, 33, 62}));
        QCOMPARE(b.finestra.conferma, QStringLiteral("Verificato: gli indirizzi 0 - 33 contengono i valori scritti"));
    }

    // Each thing the operator can change, changed from what was read, goes
    // out in the write of its own address.
    void ogni_campo_nella_sua_scrittura_data()
    {
        using Attese = QList<QPair<int, int>>;
        QTest::addColumn<int>("campo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("opzione");
        QTest::addColumn<Attese>("attese");
        const auto campo = [](Campo c) { return static_cast<int>(c); };
        const auto opzione = [](Opzione o) { return static_cast<int>(o); };
        QTest::newRow("Timer per rapina") << campo(Campo::txb_tmp_rap) << "45" << -1 << Attese{{0, 45}};
        QTest::newRow("Timer Antiatterramento") << campo(Campo::txb_amp) << "90" << -1 << Attese{{1, 90}};
        QTest::newRow("N° di Tx Tot") << campo(Campo::Cmb_n_tx_tot) << "9" << -1 << Attese{{2, 9}};
        QTest::newRow("Freq Tx Mhz") << campo(Campo::FqTx) << "433.525" << -1 << Attese{{10, 2}, {11, 29}, {12, 116}};
        QTest::newRow("Codice Brenk") << campo(Campo::CodiceBrenk) << "500" << -1
                                      << Attese{{15, 1}, {16, 244}, {27, 1}, {28, 244}};
        QTest::newRow("N° Ing di All") << campo(Campo::Cmb_n_ing_all) << "3" << -1 << Attese{{17, 4}, {29, 0}};
        QTest::newRow("Filtro P. All") << campo(Campo::Cmb_tmr_p_all) << "4" << -1 << Attese{{34, 4}};
        QTest::newRow("Cod Rep") << campo(Campo::cmb_Zelmrep) << "7" << -1 << Attese{{35, 7}, {15, 0}};
        QTest::newRow("Toni bassi") << -1 << "" << opzione(Opzione::Opt_toni_bassi) << Attese{{4, 1}, {18, 124}, {30, 124}};
        QTest::newRow("Ripristino No") << -1 << "" << opzione(Opzione::Opt_bat_no) << Attese{{5, 0}};
        QTest::newRow("TX Sing") << -1 << "" << opzione(Opzione::Opt_tx_sing) << Attese{{6, 0}};
    }
    void ogni_campo_nella_sua_scrittura()
    {
        using Attese = QList<QPair<int, int>>;
        QFETCH(int, campo);
        QFETCH(QString, testo);
        QFETCH(int, opzione);
        QFETCH(Attese, attese);
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        if (campo >= 0)
            b.finestra.imposta_testo(static_cast<Campo>(campo), testo);
        if (opzione >= 0)
            b.finestra.seleziona(static_cast<Opzione>(opzione));
        QVERIFY(b.esegui(programma(b.contesto)));
        QVERIFY(b.finestra.messaggi.isEmpty());
        const QByteArray w = b.dopo_connessione();
        QCOMPARE(w.size(), 3 * 62 + lettura_completa().size());
        for (const auto& [indirizzo, valore] : attese) {
            QCOMPARE(int(w.at(3 * indirizzo)), int('W'));
            QCOMPARE(int(w.at(3 * indirizzo + 1)), indirizzo);
            QCOMPARE(int(static_cast<std::uint8_t>(w.at(3 * indirizzo + 2))), valore);
        }
    }

    void telegrammi_dai_campi()
    {
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        b.finestra.testi[Campo::CodiceBrenk] = "1023";
        b.finestra.testi[Campo::Cmb_n_ing_all] = "8";
        b.finestra.testi[Campo::cmb_Zelmrep] = "5";
        b.finestra.seleziona(Opzione::Opt_toni_bassi);
        QVERIFY(b.esegui(programma(b.contesto)));
        const Memoria& m = b.sim.memoria();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&m[Byt1]), 9),
                 QByteArray("\x1C\x07\x17\xFF\x80\x7C\x13\xD3\x03", 9));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&m[Byte1]), 9),
                 QByteArray("\x1C\x07\x17\xFF\x00\x7C\x93\xD3\x03", 9));
        QCOMPARE(int(m[Codicerep]), 5);
    }

    void rifiuti_prima_di_inviare_data()
    {
        QTest::addColumn<Campo>("campo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("messaggi");
        const QString codice = atteso::codice;
        QTest::newRow("codice 1024") << Campo::CodiceBrenk << "1024" << QStringList{codice};
        QTest::newRow("codice vuoto") << Campo::CodiceBrenk << "" << QStringList{codice};
        QTest::newRow("fuori banda uhf") << Campo::FqTx << "160.9125" << QStringList{atteso::fuori_banda};
        QTest::newRow("frequenza vuota")
            << Campo::FqTx << "" << QStringList{atteso::fuori_range, atteso::fuori_banda};
        QTest::newRow("trasmissioni 300")
            << Campo::Cmb_n_tx_tot << "300" << QStringList{"Valore fuori range in \"N° di Tx Tot\" (0 - 255)"};
        QTest::newRow("filtro -1")
            << Campo::Cmb_tmr_p_all << "-1" << QStringList{"Valore fuori range in \"Filtro P. All\" (0 - 255)"};
        QTest::newRow("tempo 256") << Campo::txb_amp << "256"
                                   << QStringList{"Valore fuori range in \"Timer Antiatterramento\" (0 - 255)"};
    }
    void rifiuti_prima_di_inviare()
    {
        QFETCH(Campo, campo);
        QFETCH(QString, testo);
        QFETCH(QStringList, messaggi);
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        b.finestra.mostra_conferma(QStringLiteral("Verificato: gli indirizzi 0 - 61 contengono i valori scritti"));
        b.finestra.testi[campo] = testo;
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), messaggi);
        QCOMPARE(b.finestra.conferma, QString());
        QCOMPARE(b.dopo_connessione(), QByteArray());
        QCOMPARE(b.fleg, 0);
        QVERIFY(!b.finestra.progresso_visibile);
    }

    void ripetitore_oltre_63_con_toni_bassi()
    {
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.connetti());
        b.finestra.testi[Campo::CodiceBrenk] = "1023";
        b.finestra.testi[Campo::cmb_Zelmrep] = "64";
        b.finestra.seleziona(Opzione::Opt_toni_bassi);
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{"Valore fuori range in \"Cod Rep\" (0 - 63)"});
        QCOMPARE(b.dopo_connessione(), QByteArray());
    }

    void frequenze_su_un_vhf_data()
    {
        QTest::addColumn<QString>("frequenza");
        QTest::addColumn<QStringList>("messaggi");
        QTest::addColumn<bool>("inviato");
        QTest::newRow("170") << "170" << QStringList{} << true;
        QTest::newRow("180") << "180" << QStringList{atteso::fuori_range} << true;
        QTest::newRow("190") << "190" << QStringList{atteso::fuori_range, atteso::fuori_banda} << false;
    }
    void frequenze_su_un_vhf()
    {
        QFETCH(QString, frequenza);
        QFETCH(QStringList, messaggi);
        QFETCH(bool, inviato);
        Banco b(con_memoria(memoria_predefinita(Contenuto::VHF)));
        QVERIFY(b.connetti());
        b.finestra.testi[Campo::FqTx] = frequenza;
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), messaggi);
        QCOMPARE(!b.dopo_connessione().isEmpty(), inviato);
        if (inviato)
            QCOMPARE(b.finestra.testi.value(Campo::FqTx), frequenza);
    }

    void conferme_che_si_fermano_data()
    {
        QTest::addColumn<int>("conferme");
        QTest::addColumn<bool>("minuscola");
        QTest::addColumn<int>("scritture");
        QTest::newRow("muto dopo la 10") << 10 << false << 11;
        QTest::newRow("nessuna conferma") << 0 << false << 1;
        QTest::newRow("k minuscola") << 100 << true << 1;
    }
    void conferme_che_si_fermano()
    {
        QFETCH(int, conferme);
        QFETCH(bool, minuscola);
        QFETCH(int, scritture);
        auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
        o.conferme_max = conferme;
        o.k_minuscola = minuscola;
        Banco b(o);
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::time_out});
        QCOMPARE(b.sim.scritture(), scritture);
        QCOMPARE(b.dopo_connessione().size(), 3 * scritture);
        QCOMPARE(b.fleg, 0);
        QVERIFY(!b.finestra.progresso_visibile);
        QCOMPARE(b.finestra.progresso, scritture - 1);
    }

    void disconnessione_durante_la_programmazione()
    {
        auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
        o.conferme_max = 3;
        Banco b(o);
        b.porta.imposta_timeout(10000);
        QVERIFY(b.connetti());
        QVERIFY(b.esecutore.avvia(programma(b.contesto)));
        QTRY_COMPARE(b.sim.scritture(), 4);
        QCOMPARE(b.fleg, 1);
        congeda(b.contesto, 'E');
        QTRY_VERIFY_WITH_TIMEOUT(!b.esecutore.in_corso(), 2000);
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::time_out});
        QCOMPARE(b.fleg, 0);
    }

    // The writes were all acknowledged, but nothing says the transmitter
    // holds them: the programming ends unverified, and says so.
    void rilettura_interrotta_non_verificata()
    {
        auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
        o.riaggancia_dopo = 1 + 126 + 62 * 3 + 10;
        Banco b(o);
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::verifica_interrotta});
        QCOMPARE(b.finestra.conferma, QString());
        QCOMPARE(b.fleg, 0);
    }

    // A verification that fails names the field of the address, or the address alone.
    void nome_nella_verifica_data()
    {
        QTest::addColumn<int>("indirizzo");
        QTest::addColumn<QString>("messaggio");
        const QString fallita = QStringLiteral("Verifica fallita: %1 scritto 7, letto 8. Ripetere la programmazione.");
        QTest::newRow("terzo byte della frequenza") << 12 << fallita.arg("\"Freq Tx Mhz\" (indirizzo 12)");
        QTest::newRow("nono byte del telegramma di allarme")
            << 21 << fallita.arg("\"telegramma di allarme\" (indirizzo 21)");
        QTest::newRow("dopo il telegramma di allarme") << 22 << fallita.arg("indirizzo 22");
        QTest::newRow("nono byte del telegramma di ripristino")
            << 33 << fallita.arg("\"telegramma di ripristino\" (indirizzo 33)");
    }
    void nome_nella_verifica()
    {
        QFETCH(int, indirizzo);
        QFETCH(QString, messaggio);
        QCOMPARE(messaggio_verifica({indirizzo, 7, 8}, QStringLiteral("Ripetere la programmazione.")), messaggio);
    }

    void valori_di_fabbrica_data()
    {
        QTest::addColumn<Banda>("banda");
        QTest::addColumn<QString>("frequenza");
        QTest::addColumn<QString>("testo_banda");
        QTest::addColumn<BloccoAtteso>("blocco");
        QTest::newRow("UHF") << Banda::UHF << "460" << "  UHF" << fabbrica_uhf_attesa;
        QTest::newRow("VHF") << Banda::VHF << "161" << "  VHF" << fabbrica_vhf_attesa;
    }
    void valori_di_fabbrica()
    {
        QFETCH(Banda, banda);
        QFETCH(QString, frequenza);
        QFETCH(QString, testo_banda);
        QFETCH(BloccoAtteso, blocco);
        Banco b(con_memoria({}));
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.tipo, QStringLiteral("Old"));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::telegrammi});
        b.finestra.messaggi.clear();
        QVERIFY(b.esegui(carica_fabbrica(b.contesto, banda)));
        QCOMPARE(b.dopo_connessione(), scritture(blocco) + lettura_completa());
        QCOMPARE(b.finestra.massimi, (QList<int>{62, 62, 63, 62}));
        QCOMPARE(b.finestra.testi.value(Campo::FqTx), frequenza);
        QCOMPARE(b.finestra.testi.value(Campo::Text1), testo_banda);
        QCOMPARE(b.finestra.testi.value(Campo::CodiceBrenk), QStringLiteral("1"));
        QCOMPARE(b.finestra.tipo, QStringLiteral("New"));
        QVERIFY(b.finestra.messaggi.isEmpty());
    }

    void valori_di_fabbrica_interrotti_data()
    {
        QTest::addColumn<int>("conferme");
        QTest::newRow("nessuna risposta") << 0;
        QTest::newRow("muto dopo l'indirizzo 40") << 41;
    }
    void valori_di_fabbrica_interrotti()
    {
        QFETCH(int, conferme);
        auto o = con_memoria(memoria_predefinita(Contenuto::VHF));
        o.conferme_max = conferme;
        Banco b(o);
        QVERIFY(b.connetti());
        const auto campi = b.finestra.testi;
        QVERIFY(b.esegui(carica_fabbrica(b.contesto, Banda::UHF)));
        QCOMPARE(b.dopo_connessione(), scritture(std::span(fabbrica_uhf_attesa).first(conferme + 1)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::time_out});
        QVERIFY(!b.finestra.progresso_visibile);
        QCOMPARE(b.finestra.progresso_massimo, 63);
        QCOMPARE(b.finestra.testi, campi);
    }

    void una_operazione_alla_volta()
    {
        Banco b(con_memoria(memoria_predefinita(Contenuto::UHF)));
        QVERIFY(b.esecutore.avvia(connetti(b.contesto)));
        QVERIFY(!b.esecutore.avvia(carica_fabbrica(b.contesto, Banda::UHF)));
        QTRY_VERIFY(!b.esecutore.in_corso());
        QCOMPARE(b.sim.ricevuti(), "L" + lettura_completa());
    }

    void abbandono_in_mezzo_a_una_attesa()
    {
        auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
        o.mai_k = true;
        Banco b(o);
        QVERIFY(b.esecutore.avvia(connetti(b.contesto)));
        QTRY_COMPARE(b.finestra.stato, atteso::in_attesa);
        b.esecutore.abbandona();
        congeda(b.contesto, 'E');
        QTest::qWait(50);
        QVERIFY(b.finestra.messaggi.isEmpty());
        QTRY_COMPARE(b.sim.ricevuti(), QByteArray("E"));
    }
};

QTEST_GUILESS_MAIN(TestOperazioni)
#include "test_operazioni.moc"
