// SPDX-License-Identifier: GPL-3.0-or-later
// Programma against the simulated transmitter on the virtual line:
// the writes each field and button makes, the values refused before the
// first write, and where what the window shows and what the transmitter
// would hold can part: only what the operator asked is written, or nothing.

#include "banco_virtuale.h"
#include "testi.h"
#include "ops/verifica.h"

#include <QTest>

using namespace brenk;
using namespace brenk::prova;

using Testi = QList<QPair<Campo, QString>>;
using Scritte = QList<QPair<int, int>>; // address and value

namespace {

// What the operator types into a field (for Text1: presses Toni bassi), and
// what the transmitter holds at an address after Programma twice.
struct Richiesta {
    Memoria memoria;
    Campo campo;
    QString testo;
    QStringList messaggi;
    int indirizzo;
    int valore;
    Guasto guasto = {};
};

} // namespace

Q_DECLARE_METATYPE(Richiesta)

class TestProgrammazioneFedele : public QObject {
    Q_OBJECT

private slots:
    // All of a new type's addresses go out, an old type's up to the second
    // telegram, and the read-back confirms them. The fixed 2, 3 and 1 go out
    // whatever was read, and the checksum with them.
    void programmazione_data()
    {
        QTest::addColumn<Modifiche>("modifiche");
        QTest::addColumn<int>("scritte");
        QTest::addColumn<QList<int>>("massimi");
        QTest::newRow("tipo nuovo") << Modifiche{} << 62 << QList<int>{62, 61, 62};
        QTest::newRow("tipo vecchio") << Modifiche{{Tipo_brenk, 'n'}} << 34 << QList<int>{62, 62, 33, 62};
        QTest::newRow("costanti e checksum qualunque cosa si sia letto")
            << Modifiche{{ncicli, 5}, {Byt12, 0}, {Zelmbrenk, 0}} << 62 << QList<int>{62, 61, 62};
    }
    void programmazione()
    {
        QFETCH(Modifiche, modifiche);
        QFETCH(int, scritte);
        QFETCH(QList<int>, massimi);
        Banco b(con_memoria(uhf_con(modifiche)));
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        const auto attese = programmazione_uhf();
        QCOMPARE(b.dopo_connessione(), scritture(std::span(attese).first(scritte)) + lettura_completa());
        QCOMPARE(b.finestra.massimi, massimi);
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.finestra.conferma, atteso::verificato(scritte - 1));
        QCOMPARE(b.fleg, 0);
        QVERIFY(!b.finestra.progresso_visibile);
        const Memoria& m = b.tx().memoria();
        QCOMPARE((QList<int>{m[ncicli], m[Byt12], m[Zelmbrenk]}), (QList<int>{2, 3, 1}));
        QCOMPARE(int(m[totck]), int(complemento(std::accumulate(m.begin(), m.begin() + 37, 0LL))));
        QCOMPARE(b.blocco[ncicli], 2.0);
    }

    // Each thing the operator can change, changed from what was read, goes
    // out in the write of its own address; a value out of range stops the
    // programming before the first write, one only out of the band's range
    // does not.
    // clang-format off
    void ritocchi_data()
    {
        QTest::addColumn<Contenuto>("contenuto");
        QTest::addColumn<Testi>("testi");
        QTest::addColumn<int>("opzione"); // selected, -1 for none
        QTest::addColumn<QStringList>("messaggi");
        QTest::addColumn<bool>("inviata");
        QTest::addColumn<Scritte>("scritte");
        const auto bassi = static_cast<int>(Opzione::Opt_toni_bassi);
        const auto fuori = [](const char* campo, const char* intervallo) {
            return QStringList{QStringLiteral("Valore fuori range in \"%1\" (%2)").arg(campo, intervallo)};
        };
        // Programma goes ahead and writes these, among its 62 writes.
        const auto scrive = [](const char* nome, const Testi& testi, const Scritte& scritte, int opzione = -1) {
            QTest::newRow(nome) << Contenuto::UHF << testi << opzione << QStringList{} << true << scritte;
        };
        // Programma stops before the first write with these messages.
        const auto rifiuta = [](const char* nome, const Testi& testi, const QStringList& messaggi, int opzione = -1) {
            QTest::newRow(nome) << Contenuto::UHF << testi << opzione << messaggi << false << Scritte{};
        };
        scrive("Timer per rapina", {{Campo::txb_tmp_rap, "45"}}, {{0, 45}});
        scrive("Timer Antiatterramento", {{Campo::txb_amp, "90"}}, {{1, 90}});
        scrive("N° di Tx Tot", {{Campo::Cmb_n_tx_tot, "9"}}, {{2, 9}});
        scrive("Freq Tx Mhz", {{Campo::FqTx, "433.525"}}, {{10, 2}, {11, 29}, {12, 116}});
        scrive("Codice Brenk", {{Campo::CodiceBrenk, "500"}}, {{15, 1}, {16, 244}, {27, 1}, {28, 244}});
        scrive("N° Ing di All", {{Campo::Cmb_n_ing_all, "3"}}, {{17, 4}, {29, 0}});
        scrive("Filtro P. All", {{Campo::Cmb_tmr_p_all, "4"}}, {{34, 4}});
        scrive("Cod Rep", {{Campo::cmb_Zelmrep, "7"}}, {{35, 7}, {15, 0}});
        scrive("Toni bassi", {}, {{4, 1}, {18, 124}, {30, 124}}, bassi);
        scrive("Ripristino No", {}, {{5, 0}}, int(Opzione::Opt_bat_no));
        scrive("TX Sing", {}, {{6, 0}}, int(Opzione::Opt_tx_sing));
        // The alarm telegram at 13 - 21, the restore telegram at 25 - 33.
        scrive("telegrammi dai campi",
               {{Campo::CodiceBrenk, "1023"}, {Campo::Cmb_n_ing_all, "8"}, {Campo::cmb_Zelmrep, "5"}},
               {{13, 28}, {14, 7}, {15, 23}, {16, 255}, {17, 128}, {18, 124}, {19, 19}, {20, 211}, {21, 3},
                {25, 28}, {26, 7}, {27, 23}, {28, 255}, {29, 0}, {30, 124}, {31, 147}, {32, 211}, {33, 3},
                {Codicerep, 5}},
               bassi);
        rifiuta("codice 1024", {{Campo::CodiceBrenk, "1024"}}, {atteso::codice});
        rifiuta("codice vuoto", {{Campo::CodiceBrenk, ""}}, {atteso::codice});
        rifiuta("fuori banda uhf", {{Campo::FqTx, "160.9125"}}, {atteso::fuori_banda});
        rifiuta("frequenza vuota", {{Campo::FqTx, ""}}, {atteso::fuori_range, atteso::fuori_banda});
        // A chosen field takes only its choices.
        rifiuta("trasmissioni 0", {{Campo::Cmb_n_tx_tot, "0"}}, fuori("N° di Tx Tot", "1 - 10"));
        rifiuta("trasmissioni 300", {{Campo::Cmb_n_tx_tot, "300"}}, fuori("N° di Tx Tot", "1 - 10"));
        rifiuta("filtro 200", {{Campo::Cmb_tmr_p_all, "200"}}, fuori("Filtro P. All", "0 - 5"));
        rifiuta("filtro -1", {{Campo::Cmb_tmr_p_all, "-1"}}, fuori("Filtro P. All", "0 - 5"));
        rifiuta("ingresso vuoto", {{Campo::Cmb_n_ing_all, ""}}, fuori("N° Ing di All", "1 - 8"));
        rifiuta("tempo 256", {{Campo::txb_amp, "256"}}, fuori("Timer Antiatterramento", "0 - 255"));
        rifiuta("ripetitore oltre 63 con toni bassi", {{Campo::CodiceBrenk, "1023"}, {Campo::cmb_Zelmrep, "64"}},
                fuori("Cod Rep", "0 - 63"), bassi);
        const auto V = Contenuto::VHF;
        QTest::newRow("vhf 170") << V << Testi{{Campo::FqTx, "170"}} << -1 << QStringList{} << true << Scritte{};
        QTest::newRow("vhf 180") << V << Testi{{Campo::FqTx, "180"}} << -1 << QStringList{atteso::fuori_range}
                                 << true << Scritte{};
        QTest::newRow("vhf 190") << V << Testi{{Campo::FqTx, "190"}} << -1
                                 << QStringList{atteso::fuori_range, atteso::fuori_banda} << false << Scritte{};
    }
    // clang-format on
    void ritocchi()
    {
        QFETCH(Contenuto, contenuto);
        QFETCH(Testi, testi);
        QFETCH(int, opzione);
        QFETCH(QStringList, messaggi);
        QFETCH(bool, inviata);
        QFETCH(Scritte, scritte);
        Banco b(contenuto);
        QVERIFY(b.connetti());
        b.finestra.mostra_conferma(atteso::verificato(61));
        for (const auto& [campo, testo] : testi)
            b.finestra.imposta_testo(campo, testo);
        if (opzione >= 0)
            b.finestra.seleziona(static_cast<Opzione>(opzione));
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), messaggi);
        for (const auto& [campo, testo] : testi)
            QCOMPARE(b.finestra.testi.value(campo), testo);
        QCOMPARE(b.fleg, 0);
        QVERIFY(!b.finestra.progresso_visibile);
        const QByteArray w = b.dopo_connessione();
        if (!inviata) {
            QCOMPARE(w, QByteArray());
            QCOMPARE(b.finestra.conferma, QString());
            return;
        }
        QCOMPARE(w.size(), 3 * 62 + lettura_completa().size());
        for (const auto& [indirizzo, valore] : scritte)
            QCOMPARE(w.mid(3 * indirizzo, 3), QByteArray("W") + char(indirizzo) + char(valore));
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

    // Programma writes what the operator asked, and only that: a writing
    // that fails leaves the operator's values for the next press, and a
    // field that would read back otherwise than shown stops it before the
    // first write, unless the operator typed a frequency off the grid.
    // clang-format off
    void programmazione_fedele_data()
    {
        QTest::addColumn<Richiesta>("richiesta");
        const Memoria fuori_griglia = uhf_con({{ByteT1, 0}, {ByteT2, 201}, {ByteT3, 9}, {brenkVU, 86}});
        const Memoria vecchio_brenk = uhf_con({{Tipo_brenk, 0}, {Zelmbrenk, 0}});
        Memoria vecchio_200_150 = memoria_predefinita(Contenuto::Vecchio);
        vecchio_200_150[tempopre_rap] = 200, vecchio_200_150[tempopre_amp] = 150;
        const auto senza_scelta = [](const char* coppia) {
            return QStringList{QStringLiteral("Programmazione non eseguita: \"%1\" non mostra nessuna scelta. "
                                              "Scegliere un'opzione.").arg(QString::fromUtf8(coppia))};
        };
        const auto non_eseguita = [](const char* campo, const char* mostra, const char* conterrebbe) {
            return QStringList{QStringLiteral("Programmazione non eseguita: \"%1\" mostra %2, ma il trasmettitore "
                                              "conterrebbe %3. Inserire il valore da programmare.")
                                   .arg(QString::fromUtf8(campo), mostra, conterrebbe)};
        };
        const auto riga = [](const char* nome, const Richiesta& r) { QTest::newRow(nome) << r; };
        riga("scrittura persa, poi di nuovo", {memoria_predefinita(Contenuto::UHF), Campo::txb_tmp_rap, "45",
             {"Verifica fallita: \"Timer per rapina\" (indirizzo 0) scritto 45, letto 30. I valori da "
              "programmare sono ancora nella finestra: ripetere la programmazione."},
             0, 45, [](auto& o) { o.scrittura_persa = 0; }});
        riga("frequenza fuori griglia non toccata", {fuori_griglia, Campo::CodiceBrenk, "500",
             non_eseguita("Freq Tx Mhz", "160.85625", "160.8625"), ByteT3, 9});
        riga("frequenza fuori griglia digitata", {fuori_griglia, Campo::FqTx, "160.852", {}, ByteT3, 8});
        riga("ingresso 3, tipo vecchio in modo Brenk", {vecchio_brenk, Campo::Cmb_n_ing_all, "3",
             non_eseguita("N° Ing di All", "3", "1"), Byt6, 192});
        riga("zeri davanti", {memoria_predefinita(Contenuto::UHF), Campo::txb_tmp_rap, "007", {}, tempopre_rap, 7});
        riga("ripristino 7", {uhf_con({{Ning, 7}}), Campo::CodiceBrenk, "1", senza_scelta("Ripristino Ing di Allarme"),
             Ning, 7});
        riga("toni 2", {uhf_con({{TONIHL, 2}}), Campo::CodiceBrenk, "1", senza_scelta("Toni H/L"), TONIHL, 2});
        // The factory telegrams still check without bit 7 (two of their bytes
        // lose 128 each): the read cannot tell, but no writing is verified.
        riga("bit 7 perso, tipo vecchio", {vecchio_200_150, Campo::CodiceBrenk, "1",
             {"Verifica fallita: \"telegramma di allarme\" (indirizzo 20) scritto 255, letto 127. I valori da "
              "programmare sono ancora nella finestra: ripetere la programmazione."},
             tempopre_rap, 72, [](auto& o) { o.bit7_perso = true; }});
        riga("toni bassi, tipo vecchio in modo Brenk", {vecchio_brenk, Campo::Text1, "",
             non_eseguita("N° Ing di All", "1", "5"), TONIHL, 0});
    }
    // clang-format on
    void programmazione_fedele()
    {
        QFETCH(Richiesta, richiesta);
        const auto& [memoria, campo, testo, messaggi, indirizzo, valore, guasto] = richiesta;
        Banco b(con_memoria(memoria, guasto));
        QVERIFY(b.connetti());
        if (campo == Campo::Text1)
            b.finestra.seleziona(Opzione::Opt_toni_bassi);
        else
            b.finestra.imposta_testo(campo, testo);
        const QMap<Campo, QString> chiesti = b.finestra.testi;
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), messaggi);
        if (!messaggi.isEmpty()) {
            QCOMPARE(b.finestra.testi, chiesti);
            QVERIFY(b.esegui(programma(b.contesto)));
        }
        QCOMPARE(int(b.tx().memoria()[std::size_t(indirizzo)]), valore);
    }
};

QTEST_GUILESS_MAIN(TestProgrammazioneFedele)
#include "test_programmazione_fedele.moc"
