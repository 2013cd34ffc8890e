// SPDX-License-Identifier: GPL-3.0-or-later
// The device operations against the simulated transmitter on the virtual
// line: the bytes on the wire, their times, and what the window is told.

#include "testi.h"
#include "banco_virtuale.h"
#include "fabbrica_attesa.h"

#include <QTest>

using namespace brenk;
using namespace brenk::prova;

class TestOperazioni : public QObject {
    Q_OBJECT

private slots:
    void porta_inesistente_due_messaggi()
    {
        Banco b(Contenuto::Zeri);
        b.linea.riaggancia();
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi_messaggi(),
                 (QStringList{QStringLiteral("Porta seriale inesistente: virtuale 8002"), atteso::porta_guasta}));
        QCOMPARE(b.finestra.messaggi[0].icona, Icona::Nessuna);
        QCOMPARE(b.finestra.messaggi[1].icona, Icona::Esclamazione);
        QCOMPARE(b.finestra.stato, atteso::non_connesso);
    }

    void linea_persa_durante_la_lettura()
    {
        Banco b(Contenuto::UHF, [](auto& o) { o.riaggancia_dopo = 20; });
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
        Banco b(Contenuto::UHF);
        QVERIFY(b.connetti());
        const BloccoParametri letto = b.blocco;
        congeda(b.contesto, lettera);
        QVERIFY(!b.porta.aperta());
        QCOMPARE(b.finestra.stato, atteso::non_connesso);
        for (const auto& testo : std::as_const(b.finestra.testi))
            QVERIFY(testo.isEmpty());
        QCOMPARE(b.blocco.valori, letto.valori);
        congeda(b.contesto, lettera);
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::senza_lettura});
        b.aspetta(1000);
        QCOMPARE(b.dopo_connessione(), QByteArray(1, lettera));
        QCOMPARE(b.tx().trasmissioni(), trasmissioni);
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
        Banco b(Contenuto::UHF);
        QVERIFY(b.connetti());
        b.linea.riaggancia();
        QVERIFY(!b.porta.aperta());
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

    // The writes end at the first that is not acknowledged, or that the
    // port refuses as the adapter is pulled out: that failure is told in the
    // port's words, and the window knows it was (so as not to tell the loss
    // of the port again).
    void conferme_che_si_fermano_data()
    {
        QTest::addColumn<bool>("fabbrica"); // the VHF transmitter loaded with the UHF values, or Programma
        QTest::addColumn<Guasto>("guasto");
        QTest::addColumn<int>("scritte");  // that reach the transmitter
        QTest::addColumn<int>("staccato"); // the adapter pulled out at this byte, 0 for never
        QTest::addColumn<QString>("messaggio");
        const auto programma = [](const char* nome, const Guasto& g, int scritte) {
            QTest::newRow(nome) << false << g << scritte << 0 << atteso::time_out;
        };
        const auto fabbrica = [](const char* nome, int scritte, int staccato, const QString& messaggio) {
            const Guasto muto([=](auto& o) { o.conferme_max = staccato ? 64 : scritte - 1; });
            QTest::addRow("valori di fabbrica, %s", nome) << true << muto << scritte << staccato << messaggio;
        };
        programma(
            "muto dopo la 10", [](auto& o) { o.conferme_max = 10; }, 11);
        programma(
            "nessuna conferma", [](auto& o) { o.conferme_max = 0; }, 1);
        programma(
            "k minuscola", [](auto& o) { o.conferme_max = 100, o.k_minuscola = true; }, 1);
        programma(
            "K dopo l'indirizzo, prima del valore", [](auto& o) { o.k_dopo_indirizzo = true; }, 1);
        fabbrica("nessuna risposta", 1, 0, atteso::time_out);
        fabbrica("muto dopo l'indirizzo 40", 42, 0, atteso::time_out);
        // At the "W" of write 5.
        fabbrica("adattatore staccato alla scrittura 5", 5, 3 * 5 + 1,
                 QStringLiteral("Errore di scrittura sulla porta virtuale 8020"));
    }
    void conferme_che_si_fermano()
    {
        QFETCH(bool, fabbrica);
        QFETCH(Guasto, guasto);
        QFETCH(int, scritte);
        QFETCH(int, staccato);
        QFETCH(QString, messaggio);
        Banco b(fabbrica ? Contenuto::VHF : Contenuto::UHF, guasto);
        QVERIFY(b.connetti());
        if (staccato)
            b.linea.stacca_alla_scrittura(staccato);
        const auto campi = b.finestra.testi;
        QVERIFY(b.esegui(fabbrica ? carica_fabbrica(b.contesto, Banda::UHF) : programma(b.contesto)));
        const QByteArray attese = fabbrica ? scritture(fabbrica_uhf_attesa) : scritture(programmazione_uhf());
        QCOMPARE(b.dopo_connessione(), attese.first(3 * scritte));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{messaggio});
        if (messaggio == atteso::time_out)
            QCOMPARE(b.orologio.adesso_ms() - b.linea.ultimo_dal_pc_ms(), 4000.0);
        QCOMPARE(b.tx().scritture(), scritte);
        QCOMPARE(b.fleg, 0);
        QVERIFY(!b.finestra.progresso_visibile);
        // At the write that failed: the last that went out, or the one the port refused.
        QCOMPARE(b.finestra.progresso, staccato ? scritte : scritte - 1);
        QCOMPARE(b.finestra.progresso_massimo, fabbrica ? 63 : 61);
        QCOMPARE(b.finestra.eventi.contains(QStringLiteral("guasto della porta detto")), staccato > 0);
        QCOMPARE(b.finestra.testi, campi);
    }

    // The wait for the "K" ends when the port closes, not at its time-out.
    void disconnessione_durante_la_programmazione()
    {
        Banco b(Contenuto::UHF, [](auto& o) { o.conferme_max = 3; });
        QVERIFY(b.connetti());
        QVERIFY(b.esecutore.avvia(programma(b.contesto)));
        QVERIFY(b.avanza_finche([&] { return b.tx().scritture() == 4; }));
        QCOMPARE(b.fleg, 1);
        const double premuto = b.orologio.adesso_ms();
        congeda(b.contesto, 'E');
        QVERIFY(b.avanza_finche([&] { return !b.esecutore.in_corso(); }));
        QCOMPARE(b.orologio.adesso_ms(), premuto);
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::interrotta(3)});
        QCOMPARE(b.fleg, 0);
    }

    // The writes were all acknowledged, but nothing says the transmitter
    // holds them: the programming ends unverified, and says so.
    void rilettura_interrotta_non_verificata()
    {
        Banco b(Contenuto::UHF, [](auto& o) { o.riaggancia_dopo = 1 + 126 + 62 * 3 + 10; });
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::verifica_interrotta});
        QCOMPARE(b.finestra.conferma, QString());
        QCOMPARE(b.fleg, 0);
    }

    void valori_di_fabbrica_data()
    {
        QTest::addColumn<Banda>("banda");
        QTest::addColumn<QString>("frequenza");
        QTest::addColumn<QString>("testo_banda");
        QTest::addColumn<BloccoAtteso>("blocco");
        QTest::newRow("UHF") << Banda::UHF << "460"
                             << "  UHF" << fabbrica_uhf_attesa;
        QTest::newRow("VHF") << Banda::VHF << "161"
                             << "  VHF" << fabbrica_vhf_attesa;
    }
    void valori_di_fabbrica()
    {
        QFETCH(Banda, banda);
        QFETCH(QString, frequenza);
        QFETCH(QString, testo_banda);
        QFETCH(BloccoAtteso, blocco);
        Banco b(Contenuto::Zeri);
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

    void una_operazione_alla_volta()
    {
        Banco b(Contenuto::UHF);
        QVERIFY(b.esecutore.avvia(connetti(b.contesto)));
        QVERIFY(!b.esecutore.avvia(carica_fabbrica(b.contesto, Banda::UHF)));
        QVERIFY(b.avanza_finche([&] { return !b.esecutore.in_corso(); }));
        QCOMPARE(b.ricevuti(), "L" + lettura_confermata());
    }
};

QTEST_GUILESS_MAIN(TestOperazioni)
#include "test_operazioni.moc"
