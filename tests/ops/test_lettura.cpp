// SPDX-License-Identifier: GPL-3.0-or-later
// The connect and its read against the simulated transmitter on the virtual
// line: the wait for "K", the bytes on the wire, what a read shows, and when
// it is trusted.

#include "testi.h"
#include "banco_virtuale.h"

#include <QTest>

using namespace brenk;
using namespace brenk::prova;

class TestLettura : public QObject {
    Q_OBJECT

private slots:
    // What comes before the "K" is no part of the handshake. No reply was
    // slow enough to ask for more than the shortest quiet time after the last.
    void lettura_di_un_trasmettitore_uhf()
    {
        Banco b(Contenuto::UHF, [](auto& o) { o.spazzatura = "x"; });
        b.fleg = 7;
        QVERIFY(b.connetti());
        QCOMPARE(b.ricevuti(), "L" + lettura_confermata());
        QCOMPARE(b.orologio.adesso_ms() - b.linea.registro().back().ms, 25.0);
        QCOMPARE(b.finestra.stato, atteso::connesso);
        QCOMPARE(b.fleg, 0);
        const QMap<Campo, QString> attesi{{Campo::CodiceBrenk, "1"},   {Campo::FqTx, "460"},
                                          {Campo::txb_tmp_rap, "30"},  {Campo::txb_amp, "60"},
                                          {Campo::Cmb_n_ing_all, "1"}, {Campo::Cmb_N_ing_bat, "1"},
                                          {Campo::Cmb_n_tx_tot, "6"},  {Campo::Cmb_tmr_p_all, "1"},
                                          {Campo::cmb_Zelmrep, "0"},   {Campo::Text1, "  UHF"}};
        QCOMPARE(b.finestra.testi, attesi);
        QCOMPARE(b.finestra.tipo, QStringLiteral("New"));
        for (const auto o : {Opzione::Opt_toni_alti, Opzione::Opt_tx_mult, Opzione::Opt_bat_si, Opzione::Opt_zelm})
            QVERIFY(b.finestra.selezionata(o));
        QCOMPARE(b.finestra.progresso_massimo, 62);
        QVERIFY(!b.finestra.progresso_visibile);
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.blocco[ByteT3], 0.0);
        QCOMPARE(b.blocco[Ning], 1.0);
    }

    void checksum_errato_un_messaggio_dopo_la_barra()
    {
        Banco b(Contenuto::VHF, [](auto& o) { o.checksum_errato = true; });
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::errore_lettura});
        const auto& eventi = b.finestra.eventi;
        QVERIFY(eventi.indexOf(QStringLiteral("barra nascosta")) < eventi.indexOf(atteso::errore_lettura));
        QCOMPARE(b.finestra.testi.value(Campo::FqTx), QStringLiteral("161"));
        QCOMPARE(b.finestra.testi.value(Campo::Text1), QStringLiteral("  VHF"));
    }

    // The disturbed read is read again at once, and only the clean read is
    // shown: a new type's vouched for by its checksum, an old type's by a
    // second read that agrees. No checksum vouches for an old type's read:
    // a second read must agree even undisturbed.
    void letture_ripetute_data()
    {
        QTest::addColumn<Guasto>("guasto");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<int>("letture");
        // Of them, how many read the type and the band again; a byte more
        // after the last reply shows only then.
        QTest::addColumn<int>("riletti");
        QTest::addColumn<QString>("banda");
        const auto riga = [](const char* nome, const Guasto& g, const char* tipo, int letture, int riletti,
                             const char* banda = "  UHF") {
            QTest::newRow(nome) << g << QString(tipo) << letture << riletti << QString(banda);
        };
        // A byte more after reply `n`.
        const auto dopo = [](int n, Contenuto c) {
            return Guasto([n, c](auto& o) { o.memoria = memoria_predefinita(c), o.extra_dopo = n; });
        };
        // These replies arrive as "V".
        const auto colpite = [](QList<int> risposte) {
            return Guasto([risposte](auto& o) {
                for (const int n : risposte)
                    o.risposte_sostituite[n] = "V";
            });
        };
        riga("nuovo, a metà", dopo(5, Contenuto::UHF), "New", 2, 1);
        riga("vecchio, a metà", dopo(5, Contenuto::Vecchio), "Old", 3, 0);
        riga("nuovo, dopo l'ultima risposta", dopo(62, Contenuto::UHF), "New", 2, 2);
        riga("vecchio, dopo l'ultima risposta", dopo(62, Contenuto::Vecchio), "Old", 3, 0);
        riga(
            "vecchio, somma qualunque", [](auto& o) { o.memoria[Tipo_brenk] = 0, o.memoria[totck] = 3; }, "Old", 2, 0);
        // No check covers the band, which decides the frequency's limits: a
        // read its checks vouch for reads it (and the type) once more. A hit
        // once is read again, and 161 MHz is refused as out of band; a hit on
        // every read cannot be told (the limit of the rule).
        riga("banda colpita una volta", colpite({62}), "New", 2, 2);
        riga("banda colpita a ogni lettura", colpite({62, 64}), "New", 1, 1, "  VHF");
        riga("tipo colpito alla rilettura, la banda no", colpite({63}), "New", 2, 2);
    }
    void letture_ripetute()
    {
        QFETCH(Guasto, guasto);
        QFETCH(QString, tipo);
        QFETCH(int, letture);
        QFETCH(int, riletti);
        QFETCH(QString, banda);
        Banco b(Contenuto::UHF, guasto);
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{});
        QCOMPARE(b.finestra.tipo, tipo);
        QCOMPARE(b.finestra.testi.value(Campo::txb_amp), QStringLiteral("60"));
        QCOMPARE(b.finestra.testi.value(Campo::Text1), banda);
        QCOMPARE(b.blocco[BaseD1], 5.0);
        QCOMPARE(b.ricevuti(), "L" + lettura_completa(letture - riletti) + lettura_confermata().repeated(riletti));
        if (banda == "  VHF")
            return;
        b.finestra.testi[Campo::FqTx] = QStringLiteral("161");
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::fuori_banda});
    }

    void decodifica_data()
    {
        QTest::addColumn<Modifiche>("modifiche");
        QTest::addColumn<Campo>("campo");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<int>("beep");
        const auto riga = [](const char* nome, const Modifiche& m, Campo campo, const char* atteso, int beep = 0) {
            QTest::newRow(nome) << m << campo << QString::fromUtf8(atteso) << beep;
        };
        riga("zelm scarta i bit del ripetitore", {{Byt3, 0xFF}, {Byt4, 0xFF}}, Campo::CodiceBrenk, "1023");
        riga("brenk tiene tutto il byte alto", {{Byt3, 0xFF}, {Byt4, 0xFF}, {Zelmbrenk, 0}}, Campo::CodiceBrenk,
             "65535");
        riga("maschera 0 lascia il testo", {{Byt5, 0}}, Campo::Cmb_n_ing_all, "5");
        riga("maschera 3 lascia il testo", {{Byt5, 3}}, Campo::Cmb_n_ing_all, "5");
        riga("maschera 128", {{Byt5, 128}}, Campo::Cmb_n_ing_all, "8");
        riga("brenk ingresso dai bit bassi", {{Zelmbrenk, 0}, {Byt6, 0xC7}}, Campo::Cmb_n_ing_all, "8");
        riga("brenk ingresso di allarme dal telegramma di allarme", {{Zelmbrenk, 0}, {Byt6, 0xC2}, {Byte6, 0x05}},
             Campo::Cmb_n_ing_all, "3");
        riga("brenk ingresso di ripristino dal telegramma di ripristino", {{Zelmbrenk, 0}, {Byt6, 0xC2}, {Byte6, 0x05}},
             Campo::Cmb_N_ing_bat, "6");
        riga("zelm ingresso di ripristino dalla sua maschera", {{Byt5, 4}, {Byte5, 32}}, Campo::Cmb_N_ing_bat, "6");
        riga("banda sconosciuta lascia il testo", {{brenkVU, 0}}, Campo::Text1, "prima");
        riga("toni fuori coppia", {{TONIHL, 2}}, Campo::Text1, "  UHF", 1);
        riga("trasmissione fuori coppia", {{TxSM, 9}}, Campo::Text1, "  UHF", 1);
        riga("modo fuori coppia", {{Zelmbrenk, 3}}, Campo::Text1, "  UHF", 1);
        riga("ripristino fuori coppia, muto", {{Ning, 2}}, Campo::Text1, "  UHF");
        riga("zero all'indirizzo 0", {{tempopre_rap, 0}}, Campo::txb_tmp_rap, "0");
        riga("frequenza con mezzo passo", {{ByteT1, 0}, {ByteT2, 201}, {ByteT3, 9}}, Campo::FqTx, "160.85625");
    }
    void decodifica()
    {
        QFETCH(Modifiche, modifiche);
        QFETCH(Campo, campo);
        QFETCH(QString, atteso);
        QFETCH(int, beep);
        const Memoria memoria = uhf_con(modifiche);
        Banco b(con_memoria(memoria));
        b.finestra.testi[Campo::Cmb_n_ing_all] = "5";
        b.finestra.testi[Campo::Text1] = "prima";
        b.finestra.seleziona(Opzione::Opt_toni_bassi);
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi.value(campo), atteso);
        QCOMPARE(b.finestra.beep_suonati, beep);
        QVERIFY(b.finestra.messaggi.isEmpty());
        // Tones out of the pair: neither button tells what the transmitter holds.
        QCOMPARE(b.finestra.selezionata(Opzione::Opt_toni_alti), memoria[TONIHL] == 0);
        QCOMPARE(b.finestra.selezionata(Opzione::Opt_toni_bassi), memoria[TONIHL] == 1);
    }

    // Leaving while a read waits past its note: the reply still gets the
    // acknowledgement's 4000 ms from then, and no more, before the farewell.
    void uscita_dopo_la_nota()
    {
        Banco b(Contenuto::UHF, [](auto& o) { o.ritardi_indirizzo = {{5, 60000}}; });
        QVERIFY(b.esecutore.avvia(connetti(b.contesto)));
        QVERIFY(b.avanza_finche([&] { return !b.finestra.nota.isEmpty(); }));
        b.aspetta(1000);
        bool congedo = false;
        b.porta.al_termine_dello_scambio([&] { congedo = true, b.esecutore.abbandona(); });
        b.aspetta(3999);
        QVERIFY(!congedo);
        b.aspetta(1);
        QVERIFY(congedo);
    }

    // No "K" for 4 s: a note names the port and its device, and goes when the
    // transmitter announces itself. Until then the connect waits (a minute
    // here); "Disconetti" ends it as a cancel, without a message, also once
    // the window has given it up.
    void attesa_della_k_data()
    {
        QTest::addColumn<int>("annuncio_ms"); // 0: never
        QTest::addColumn<bool>("abbandonata");
        QTest::newRow("Disconetti") << 0 << false;
        QTest::newRow("abbandonata, poi Disconetti") << 0 << true;
        QTest::newRow("annuncio dopo 5 s") << 5000 << false;
    }
    void attesa_della_k()
    {
        QFETCH(int, annuncio_ms);
        QFETCH(bool, abbandonata);
        Banco b(Contenuto::UHF,
                [annuncio_ms](auto& o) { o.mai_k = !annuncio_ms, o.intervallo_annunci_ms = annuncio_ms; });
        b.finestra.testi[Campo::CodiceBrenk] = "12";
        QVERIFY(b.esecutore.avvia(connetti(b.contesto)));
        QCOMPARE(b.finestra.stato, atteso::in_attesa);
        b.aspetta(3999);
        QCOMPARE(b.finestra.detti, QStringList());
        b.aspetta(1);
        QCOMPARE(b.finestra.nota, QStringLiteral("Nessun trasmettitore su Com 1 (virtuale): accenderlo e controllare "
                                                 "il cavo. \"Disconetti\" termina l'attesa."));
        b.aspetta(60000);
        QCOMPARE(b.esecutore.in_corso(), !annuncio_ms);
        QCOMPARE(b.finestra.nota.isEmpty(), annuncio_ms != 0);
        if (abbandonata)
            b.esecutore.abbandona();
        congeda(b.contesto, 'E');
        QCOMPARE(b.finestra.stato, atteso::non_connesso);
        QCOMPARE(b.finestra.testi.value(Campo::CodiceBrenk), QString());
        b.aspetta(1000);
        QVERIFY(!b.esecutore.in_corso());
        QCOMPARE(b.ricevuti(), annuncio_ms ? "L" + lettura_confermata() + 'E' : QByteArray("E"));
        QCOMPARE(b.finestra.detti.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLettura)
#include "test_lettura.moc"
