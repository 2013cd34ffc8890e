// SPDX-License-Identifier: GPL-3.0-or-later
// Programma against the simulated transmitter through the real serial port,
// where what the window shows and what the transmitter would hold can part:
// only what the operator asked is written, or nothing.

#include "banco_operazioni.h"
#include "testi.h"

#include <QTest>

using namespace brenk;
using namespace brenk::prova;

using Guasto = std::function<void(Simulatore::Opzioni&)>;
Q_DECLARE_METATYPE(Guasto)

class TestProgrammazioneFedele : public QObject {
    Q_OBJECT

private slots:
    // Programma writes what the operator asked, and only that: a writing
    // that fails leaves the operator's values for the next press, and a
    // field that would read back otherwise than shown stops it before the
    // first write, unless the operator typed a frequency off the grid.
    void programmazione_fedele_data()
    {
        QTest::addColumn<Memoria>("memoria");
        QTest::addColumn<Guasto>("guasto");
        QTest::addColumn<Campo>("campo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("messaggi");
        QTest::addColumn<int>("indirizzo"); // what it holds after Programma twice:
        QTest::addColumn<int>("valore");
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
        QTest::newRow("scrittura persa, poi di nuovo")
            << memoria_predefinita(Contenuto::UHF) << Guasto([](auto& o) { o.scrittura_persa = 0; })
            << Campo::txb_tmp_rap << "45"
            << QStringList{"Verifica fallita: \"Timer per rapina\" (indirizzo 0) scritto 45, letto 30. I valori da "
                           "programmare sono ancora nella finestra: ripetere la programmazione."}
            << 0 << 45;
        QTest::newRow("frequenza fuori griglia non toccata")
            << fuori_griglia << Guasto([](auto&) {}) << Campo::CodiceBrenk << "500"
            << non_eseguita("Freq Tx Mhz", "160.85625", "160.8625") << int(ByteT3) << 9;
        QTest::newRow("frequenza fuori griglia digitata") << fuori_griglia << Guasto([](auto&) {}) << Campo::FqTx
                                                          << "160.852" << QStringList{} << int(ByteT3) << 8;
        QTest::newRow("ingresso 3, tipo vecchio in modo Brenk")
            << vecchio_brenk << Guasto([](auto&) {}) << Campo::Cmb_n_ing_all << "3"
            << non_eseguita("N° Ing di All", "3", "1") << int(Byt6) << 192;
        QTest::newRow("zeri davanti") << memoria_predefinita(Contenuto::UHF) << Guasto([](auto&) {})
                                      << Campo::txb_tmp_rap << "007" << QStringList{} << int(tempopre_rap) << 7;
        QTest::newRow("ripristino 7") << uhf_con({{Ning, 7}}) << Guasto([](auto&) {}) << Campo::CodiceBrenk << "1"
                                      << senza_scelta("Ripristino Ing di Allarme") << int(Ning) << 7;
        QTest::newRow("toni 2") << uhf_con({{TONIHL, 2}}) << Guasto([](auto&) {}) << Campo::CodiceBrenk << "1"
                                << senza_scelta("Toni H/L") << int(TONIHL) << 2;
        // The factory telegrams still check without bit 7 (two of their bytes
        // lose 128 each): the read cannot tell, but no writing is verified.
        QTest::newRow("bit 7 perso, tipo vecchio")
            << vecchio_200_150 << Guasto([](auto& o) { o.bit7_perso = true; }) << Campo::CodiceBrenk << "1"
            << QStringList{"Verifica fallita: \"telegramma di allarme\" (indirizzo 20) scritto 255, letto 127. I "
                           "valori da programmare sono ancora nella finestra: ripetere la programmazione."}
            << int(tempopre_rap) << 72;
        QTest::newRow("toni bassi, tipo vecchio in modo Brenk")
            << vecchio_brenk << Guasto([](auto&) {}) << Campo::Text1 << "" << non_eseguita("N° Ing di All", "1", "5")
            << int(TONIHL) << 0;
    }
    void programmazione_fedele()
    {
        QFETCH(Memoria, memoria);
        QFETCH(Guasto, guasto);
        QFETCH(Campo, campo);
        QFETCH(QString, testo);
        QFETCH(QStringList, messaggi);
        QFETCH(int, indirizzo);
        QFETCH(int, valore);
        auto o = con_memoria(memoria);
        guasto(o);
        Banco b(o);
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
        QCOMPARE(int(b.sim.memoria()[std::size_t(indirizzo)]), valore);
    }
};

QTEST_GUILESS_MAIN(TestProgrammazioneFedele)
#include "test_programmazione_fedele.moc"
