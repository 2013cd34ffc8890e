// SPDX-License-Identifier: GPL-3.0-or-later
// Exchanges that a misbehaving transmitter or a bad cable disturbs, through
// the real serial port against the simulated transmitter: nothing wrong is
// ever shown or written without a message, and a clean writing ends
// verified.

#include "banco_operazioni.h"
#include "linea_virtuale.h"
#include "testi.h"

#include <QTest>

using namespace brenk;
using namespace brenk::prova;

// What the operator does after the connect.
enum class Dopo { Niente, Programma, Uhf };
Q_DECLARE_METATYPE(Dopo)

namespace {

const QString verificati_0_61 = QStringLiteral("Verificato: gli indirizzi 0 - 61 contengono i valori scritti");

// Each write from received byte `da` on, but the first, left the PC after a
// "K" that the transmitter had sent once it had the previous write whole.
bool ognuna_dopo_la_sua_conferma(const Simulatore& sim, qsizetype da)
{
    const auto& r = sim.registro_ricevuti();
    const auto& inviati = sim.registro_inviati();
    std::optional<double> fine_precedente; // when the previous write's value byte arrived
    for (qsizetype i = da; i + 2 < r.size(); ++i) {
        if (r[i].byte != 'W') {
            i += r[i].byte == 'R' ? 1 : 0; // and its address
            continue;
        }
        const bool confermata = !fine_precedente || std::any_of(inviati.begin(), inviati.end(), [&](const auto& e) {
            return e.byte == 'K' && e.ms >= *fine_precedente && e.ms <= r[i].ms;
        });
        if (!confermata)
            return false;
        fine_precedente = r[i + 2].ms;
        i += 2;
    }
    return true;
}

// A programming of the UHF block that ends clean and verified, and the
// fields that show what the transmitter holds.
void programmazione_verificata(Banco& b)
{
    b.finestra.messaggi.clear();
    const qsizetype prima = b.sim.ricevuti().size();
    QVERIFY(b.esegui(programma(b.contesto)));
    QCOMPARE(b.finestra.testi_messaggi(), QStringList{});
    QCOMPARE(b.finestra.conferma, verificati_0_61);
    QCOMPARE(b.sim.ricevuti().mid(prima), scritture(programmazione_uhf()) + lettura_completa());
    QVERIFY(ognuna_dopo_la_sua_conferma(b.sim, prima));
    QCOMPARE(b.finestra.tipo, QStringLiteral("New"));
    QCOMPARE(b.finestra.testi.value(Campo::CodiceBrenk), QStringLiteral("1"));
    QCOMPARE(b.finestra.testi.value(Campo::FqTx), QStringLiteral("460"));
    QCOMPARE(b.finestra.testi.value(Campo::txb_tmp_rap), QStringLiteral("30"));
    QCOMPARE(b.finestra.testi.value(Campo::Text1), QStringLiteral("  UHF"));
}

} // namespace

class TestDisturbi : public QObject {
    Q_OBJECT

private slots:
    void init() { BRENK_SOLO_LA_MIA_PARTE(); }
    // Write 5 is acknowledged after the time-out (the port here waits 300 ms,
    // as a real one waits 4000 ms for a "K" 4300 ms late). The late "K"
    // waits in the port; the next programming must not take it for its own.
    void conferma_in_ritardo_poi_di_nuovo_programma()
    {
        Banco b(Contenuto::UHF, [](auto& o) { o.conferme_ritardate = {{5, 430}}; });
        b.porta.imposta_timeout(300);
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::time_out});
        QCOMPARE(b.sim.scritture(), 6);
        QTRY_COMPARE(b.sim.inviati().count('K'), 1 + 6);
        QTest::qWait(50);
        b.porta.imposta_timeout(PortaSeriale::timeout_predefinito_ms);
        programmazione_verificata(b);
    }

    // A transmitter that announces itself every 250 ms while linked and idle
    // (reset, or its programming mode entered again): 40 stale "K" queue up.
    // Between exchanges the line is never idle that long, even on a loaded
    // machine.
    void annunci_da_collegato_poi_programma()
    {
        Banco b(Contenuto::UHF, [](auto& o) {
            o.annunci_da_collegato = true;
            o.intervallo_annunci_ms = 250;
        });
        QVERIFY(b.connetti());
        QVERIFY(b.finestra.messaggi.isEmpty());
        const qsizetype prima = b.sim.inviati().count('K');
        QTest::qWait(10000);
        QVERIFY2(b.sim.inviati().count('K') - prima >= 30, qPrintable(QString::number(b.sim.inviati().count('K'))));
        programmazione_verificata(b);
    }

    // A transmitter, a cable or a memory cell at fault, from the connect on:
    // each ends with the operator told, or with the transmitter's own values
    // and no message; a doubtful read is read again, never shown, and a
    // read-back is read again, never written again.
    void guasti_data()
    {
        QTest::addColumn<Guasto>("guasto");
        QTest::addColumn<Dopo>("dopo");
        QTest::addColumn<QStringList>("messaggi");
        QTest::addColumn<int>("letture");   // of the connect
        QTest::addColumn<int>("riletture"); // after the writes
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("conferma");
        const auto annuncia_ogni_40_ms = [](Guasto g) {
            return Guasto([g](Simulatore::Opzioni& o) { o.intervallo_annunci_ms = 40; g(o); });
        };
        const auto riga = [](const char* nome, const Guasto& guasto, Dopo dopo, const QStringList& messaggi,
                             int letture, int riletture, const char* codice, const QString& conferma = {}) {
            QTest::newRow(nome) << guasto << dopo << messaggi << letture << riletture << QString(codice) << conferma;
        };
        // The connect alone.
        const auto lettura = [riga](const char* nome, const Guasto& guasto, const QStringList& m, int letture,
                                    const char* codice) { riga(nome, guasto, Dopo::Niente, m, letture, 0, codice); };
        riga("\"L\" non sentita, poi Programma", annuncia_ogni_40_ms([](auto& o) { o.l_non_sentite = 1; }),
             Dopo::Programma, {atteso::errore_lettura, atteso::senza_lettura}, 3, 0, "");
        lettura("riavvio dopo 40 letture", annuncia_ogni_40_ms([](auto& o) { o.reset_dopo_letture = 40; }),
                {atteso::errore_lettura}, 3, "");
        lettura("eco del cavo", [](auto& o) { o.eco = true; }, {atteso::errore_lettura}, 3, "");
        lettura("risposta colpita", [](auto& o) { o.risposta_colpita = 5; }, {}, 2, "1");
        lettura("risposta colpita, tipo vecchio", [](auto& o) {
            o.memoria = memoria_predefinita(Contenuto::Vecchio);
            o.risposta_colpita = 5;
        }, {}, 3, "1");
        lettura("byte estraneo da un trasmettitore lento", [](auto& o) {
            o.ritardo_risposte_ms = 30;
            o.extra_dopo = 5;
        }, {}, 2, "1");
        riga("riavvio dopo 10 conferme", annuncia_ogni_40_ms([](auto& o) { o.reset_dopo_conferme = 10; }),
             Dopo::Programma, {atteso::scrittura_disturbata}, 1, 3, "1");
        riga("risposta colpita nella rilettura", [](auto& o) { o.risposta_colpita = 63 + 5; }, Dopo::Programma, {}, 1,
             2, "1", verificati_0_61);
        riga("programmazione, indirizzo 0 guasto", [](auto& o) { o.indirizzo_guasto = 0; }, Dopo::Programma,
             {"Verifica fallita: \"Timer per rapina\" (indirizzo 0) scritto 30, letto 31. I valori da "
              "programmare sono ancora nella finestra: ripetere la programmazione."},
             1, 2, "1");
        riga("programmazione, indirizzo 40 guasto", [](auto& o) { o.indirizzo_guasto = 40; }, Dopo::Programma,
             {"Verifica fallita: indirizzo 40 scritto 0, letto 1. I valori da programmare sono ancora "
              "nella finestra: ripetere la programmazione."},
             1, 2, "1");
        riga("UHF, indirizzo 11 guasto", [](auto& o) { o.indirizzo_guasto = 11; }, Dopo::Uhf,
             {"Verifica fallita: \"Freq Tx Mhz\" (indirizzo 11) scritto 63, letto 64. Ripetere la programmazione."},
             1, 2, "");
        lettura("byte in più prima della risposta 21, indirizzo 62 lento",
                [](auto& o) { o.extra_dopo = 20, o.ritardi_indirizzo = {{62, 40}}; }, {}, 2, "1");
        lettura("byte in più prima della risposta 21, indirizzo 62 lento, tipo vecchio", [](auto& o) {
            o.memoria = memoria_predefinita(Contenuto::Vecchio);
            o.extra_dopo = 20, o.ritardi_indirizzo = {{62, 40}};
        }, {}, 3, "1");
        lettura("\"L\" non sentita, \"K\" 20 ms dopo l'ultimo byte",
                [](auto& o) { o.l_non_sentite = 1, o.annuncio_dopo_silenzio_ms = 20, o.intervallo_annunci_ms = 900; },
                {atteso::telegrammi, atteso::nota_ottavo_bit}, 2, "843");
        // Both checks hold without bit 7: only the missing high bytes tell.
        lettura("bit 7 perso, tipo vecchio con 200 e 150", [](auto& o) {
            o.bit7_perso = true;
            o.memoria[Tipo_brenk] = 0, o.memoria[tempopre_rap] = 200, o.memoria[tempopre_amp] = 150;
        }, {atteso::nota_ottavo_bit}, 2, "1");
        // Taken for reply 62, the reflection of 61 puts the real one 16.5 ms
        // after it, into the middle of the shortest quiet time, on every read
        // (its edge: quiete_minima_su_linea_esatta).
        lettura("risposta 61 riflessa, indirizzo 62 lento",
                [](auto& o) { o.rimbalzi = {{61, 13}}, o.ritardi_indirizzo = {{62, 17}}; }, {atteso::errore_lettura},
                3, "");
        lettura("risposta 5 dopo quattro secondi e mezzo", [](auto& o) { o.ritardi_indirizzo = {{5, 4500}}; },
                {"nota: Il trasmettitore non risponde. \"Disconetti\" termina l'attesa."}, 1, "1");
        riga("risposta 62 colpita nella rilettura", [](auto& o) { o.risposta_colpita = 63 + 62; }, Dopo::Programma,
             {}, 1, 2, "1", verificati_0_61);
        riga("UHF, indirizzo 62 guasto", [](auto& o) { o.indirizzo_guasto = 62; }, Dopo::Uhf,
             {"Verifica fallita: \"Banda\" (indirizzo 62) scritto 85, letto 86. Ripetere la programmazione."}, 1, 2,
             "");
        riga("valori di fabbrica verificati", [](auto& o) { o.memoria = memoria_predefinita(Contenuto::VHF); },
             Dopo::Uhf, {}, 1, 1, "1", QStringLiteral("Verificato: gli indirizzi 0 - 62 contengono i valori scritti"));
        // A stray byte every 50 ms on a line paced at 2400 baud: some are
        // taken for replies, and the read must say so, whatever the type, so
        // that nothing is written. A stray byte taken for a reply puts the PC
        // a request ahead: the last requests reach the transmitter after the read.
        for (const auto& [tipo, contenuto] : {std::pair{"nuovo", Contenuto::UHF}, {"vecchio", Contenuto::Vecchio}}) {
            for (const auto& [nome, byte] : {std::pair{"0xFF", 0xFF}, {"K", int('K')}, {"NUL", 0}}) {
                QTest::addRow("rumore durante la lettura, %s, %s", tipo, nome)
                    << Guasto([contenuto, byte](auto& o) {
                           o.memoria = memoria_predefinita(contenuto);
                           o.rumore_ogni_ms = 50;
                           o.byte_rumore = static_cast<std::uint8_t>(byte);
                       })
                    << Dopo::Programma << QStringList{atteso::errore_lettura, atteso::senza_lettura} << 3 << 0 << ""
                    << "";
            }
        }
    }
    void guasti()
    {
        QFETCH(Guasto, guasto);
        QFETCH(Dopo, dopo);
        QFETCH(QStringList, messaggi);
        QFETCH(int, letture);
        QFETCH(int, riletture);
        QFETCH(QString, codice);
        QFETCH(QString, conferma);
        Banco b(Contenuto::UHF, guasto);
        QVERIFY(b.connetti());
        if (dopo != Dopo::Niente)
            QVERIFY(b.esegui(dopo == Dopo::Uhf ? carica_fabbrica(b.contesto, Banda::UHF) : programma(b.contesto)));
        QCOMPARE(b.finestra.detti.join(u'\n'), messaggi.join(u'\n'));
        // Of the notes, only the one on bit 7 stays after the read.
        const bool ottavo_bit = messaggi.contains(atteso::nota_ottavo_bit);
        QCOMPARE("nota: " + b.finestra.nota, ottavo_bit ? atteso::nota_ottavo_bit : QStringLiteral("nota: "));
        QCOMPARE(b.finestra.testi.value(Campo::CodiceBrenk), codice);
        // A read said to be disturbed shows nothing at all.
        QCOMPARE(b.finestra.testi.isEmpty(), messaggi.value(0) == atteso::errore_lettura);
        QCOMPARE(b.finestra.conferma, conferma);
        QByteArray linea = "L" + lettura_completa(letture);
        if (riletture > 0)
            linea += (dopo == Dopo::Uhf ? scritture(blocco_fabbrica(Banda::UHF)) : scritture(programmazione_uhf()))
                     + lettura_completa(riletture);
        QTRY_COMPARE(b.sim.ricevuti(), linea);
        // The next operation takes the confirmation away.
        congeda(b.contesto, 'E');
        QCOMPARE(b.finestra.conferma, QString());
    }

    // On a line whose bytes take exactly their line time, a quick
    // transmitter's quiet time is the shortest one (the connect's "L" holds
    // its first reply back; a read alone does not), and the real reply 62,
    // 19.5 ms behind the reflection of 61 taken for it, must fall into it.
    void quiete_minima_su_linea_esatta()
    {
        auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
        o.rimbalzi = {{61, 13}}, o.ritardi_indirizzo = {{62, 20}};
        OrologioVirtuale orologio;
        LineaVirtuale linea(o, orologio);
        BloccoParametri blocco;
        int fleg = 0;
        FinestraFinta finestra(blocco);
        PortaSeriale porta(linea.dispositivo(), orologio);
        Contesto c{porta, blocco, fleg, finestra};
        Esecutore esecutore;
        for (auto* operazione : {&connetti, &leggi_parametri}) {
            esecutore.avvia(operazione(c));
            while (esecutore.in_corso() && orologio.avanza())
                QCoreApplication::sendPostedEvents();
        }
        QCOMPARE(finestra.testi_messaggi(), QStringList(2, atteso::errore_lettura));
    }

    // Noise while the writes are acknowledged: a stray "K" taken for an
    // acknowledgement, or another byte spoiling one. The writing must end
    // with a message and never verified.
    void rumore_durante_la_programmazione_data()
    {
        QTest::addColumn<int>("rumore");
        QTest::newRow("K") << int('K');
        QTest::newRow("0xFF") << 0xFF;
    }
    void rumore_durante_la_programmazione()
    {
        QFETCH(int, rumore);
        Banco b(Contenuto::UHF, [rumore](auto& o) {
            o.rumore_ogni_ms = 50;
            o.rumore_da_scrittura = true;
            o.byte_rumore = static_cast<std::uint8_t>(rumore);
        });
        QVERIFY(b.connetti());
        QVERIFY(b.finestra.messaggi.isEmpty());
        QVERIFY(b.esegui(programma(b.contesto)));
        const QStringList m = b.finestra.testi_messaggi();
        QVERIFY2(m.contains(atteso::scrittura_disturbata) || m.contains(atteso::time_out), qPrintable(m.join('|')));
        QCOMPARE(b.finestra.conferma, QString());
        QCOMPARE(b.fleg, 0);
    }

    // Another configurator tries the port that a programming is using.
    void secondo_configuratore_sulla_stessa_porta()
    {
        Banco b(Contenuto::UHF);
        QVERIFY(b.connetti());
        QVERIFY(b.esecutore.avvia(programma(b.contesto)));
        Configuratore altro;
        QVERIFY(altro.connetti());
        QCOMPARE(altro.finestra.testi_messaggi(),
                 (QStringList{QStringLiteral("Porta %1 già aperta o in uso 8005").arg(b.sim.dispositivo()),
                              atteso::porta_guasta}));
        QCOMPARE(altro.finestra.stato, atteso::non_connesso);
        QVERIFY(attendi([&] { return !b.esecutore.in_corso(); }));
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.finestra.conferma, verificati_0_61);
        QCOMPARE(b.dopo_connessione(), scritture(programmazione_uhf()) + lettura_completa());
    }
};

QTEST_GUILESS_MAIN(TestDisturbi)
#include "test_disturbi.moc"
