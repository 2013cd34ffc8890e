// SPDX-License-Identifier: GPL-3.0-or-later
// Exchanges that a misbehaving transmitter or a bad cable disturbs, on the
// virtual line against the simulated transmitter: nothing wrong is ever
// shown or written without a message, and a clean writing ends verified.

#include "banco_virtuale.h"
#include "testi.h"

#include <QTest>

using namespace brenk;
using namespace brenk::prova;

namespace {

// What the operator does after the connect.
enum class Dopo { Niente, Programma, Uhf };

// A fault from the connect on, and how it must end.
struct Caso {
    Guasto guasto;
    QStringList messaggi; // messages and notes, in their order
    int letture = 1;      // of the connect
    QString codice = {};
    Dopo dopo = Dopo::Niente;
    int riletture = 0; // after the writes
    QString conferma = {};
    // Of the connect's reads, how many read the type and the band again;
    // -1: the last, when its checks vouch for it.
    int riletti = -1;
};

// A programming of the UHF block that ends clean and verified, each write
// leaving as the "K" of the one before arrives, four byte times after it;
// and the fields that show what the transmitter holds.
void programmazione_verificata(Banco& b)
{
    b.finestra.messaggi.clear();
    const qsizetype prima = b.ricevuti().size();
    const double inizio = b.orologio.adesso_ms();
    QVERIFY(b.esegui(programma(b.contesto)));
    QCOMPARE(b.finestra.testi_messaggi(), QStringList{});
    QCOMPARE(b.finestra.conferma, atteso::verificato(61));
    QCOMPARE(b.ricevuti().mid(prima), scritture(programmazione_uhf()) + lettura_completa());
    QList<double> partenze; // of the writes' bytes
    for (const auto& p : b.linea.registro())
        if (p.dal_pc && p.ms >= inizio)
            partenze << p.ms;
    for (qsizetype i = 3; i < 3 * 62; i += 3)
        QCOMPARE(partenze[i] - partenze[i - 3], 4 * LineaVirtuale::tempo_byte_ms);
    QCOMPARE(b.finestra.tipo, QStringLiteral("New"));
    QCOMPARE(b.finestra.testi.value(Campo::CodiceBrenk), QStringLiteral("1"));
    QCOMPARE(b.finestra.testi.value(Campo::FqTx), QStringLiteral("460"));
    QCOMPARE(b.finestra.testi.value(Campo::txb_tmp_rap), QStringLiteral("30"));
    QCOMPARE(b.finestra.testi.value(Campo::Text1), QStringLiteral("  UHF"));
}

} // namespace

Q_DECLARE_METATYPE(Caso)

class TestDisturbi : public QObject {
    Q_OBJECT

private slots:
    // Write 5 is acknowledged 4300 ms late, after the time-out. The late "K"
    // waits in the port; the next programming must not take it for its own.
    void conferma_in_ritardo_poi_di_nuovo_programma()
    {
        Banco b(Contenuto::UHF, [](auto& o) { o.conferme_ritardate = {{5, 4300}}; });
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::time_out});
        QCOMPARE(b.tx().scritture(), 6);
        b.aspetta(1000);
        QCOMPARE(b.arrivati().count('K'), 1 + 6);
        programmazione_verificata(b);
    }

    // A transmitter that announces itself every 250 ms while linked and idle
    // (reset, or its programming mode entered again): in 10 s, 40 stale "K"
    // queue up. Between exchanges the line is never idle that long.
    void annunci_da_collegato_poi_programma()
    {
        Banco b(Contenuto::UHF, [](auto& o) {
            o.annunci_da_collegato = true;
            o.intervallo_annunci_ms = 250;
        });
        QVERIFY(b.connetti());
        QVERIFY(b.finestra.messaggi.isEmpty());
        const qsizetype prima = b.arrivati().count('K');
        b.aspetta(10000);
        QCOMPARE(b.arrivati().count('K') - prima, 40);
        programmazione_verificata(b);
    }

    // A transmitter, a cable or a memory cell at fault, from the connect on:
    // each ends with the operator told, or with the transmitter's own values
    // and no message; a doubtful read is read again, never shown, and a
    // read-back is read again, never written again.
    // clang-format off
    void guasti_data()
    {
        QTest::addColumn<Caso>("caso");
        const auto annuncia_ogni_40_ms = [](Guasto g) {
            return Guasto([g](OpzioniSimulatore& o) { o.intervallo_annunci_ms = 40; g(o); });
        };
        const auto riga = [](const char* nome, const Caso& caso) { QTest::newRow(nome) << caso; };
        riga("\"L\" non sentita, poi Programma", {annuncia_ogni_40_ms([](auto& o) { o.l_non_sentite = 1; }),
             {atteso::errore_lettura, atteso::senza_lettura}, 3, "", Dopo::Programma});
        riga("riavvio dopo 40 letture",
             {annuncia_ogni_40_ms([](auto& o) { o.reset_dopo_letture = 40; }), {atteso::errore_lettura}, 3, ""});
        riga("eco del cavo", {[](auto& o) { o.eco = true; }, {atteso::errore_lettura}, 3, ""});
        // Its checksum holds, its restore telegram does not: a second read must agree.
        riga("telegramma di ripristino guasto",
             {[](auto& o) { ++o.memoria[Byte8], --o.memoria[totck]; }, {atteso::telegrammi}, 2, "1"});
        riga("risposta colpita", {[](auto& o) { o.risposta_colpita = 5; }, {}, 2, "1"});
        riga("risposta colpita, tipo vecchio", {[](auto& o) {
            o.memoria = memoria_predefinita(Contenuto::Vecchio);
            o.risposta_colpita = 5;
        }, {}, 3, "1"});
        riga("byte estraneo da un trasmettitore lento", {[](auto& o) {
            o.ritardo_risposte_ms = 30;
            o.extra_dopo = 5;
        }, {}, 2, "1"});
        riga("riavvio dopo 10 conferme", {annuncia_ogni_40_ms([](auto& o) { o.reset_dopo_conferme = 10; }),
                                          {atteso::scrittura_disturbata}, 1, "1", Dopo::Programma, 3});
        // The read-back's replies follow the connect's 63 and its 2 read again.
        riga("risposta colpita nella rilettura",
             {[](auto& o) { o.risposta_colpita = 65 + 5; }, {}, 1, "1", Dopo::Programma, 2, atteso::verificato(61)});
        riga("programmazione, indirizzo 0 guasto", {[](auto& o) { o.indirizzo_guasto = 0; },
             {"Verifica fallita: \"Timer per rapina\" (indirizzo 0) scritto 30, letto 31. I valori da "
              "programmare sono ancora nella finestra: ripetere la programmazione."},
             1, "1", Dopo::Programma, 2});
        riga("programmazione, indirizzo 40 guasto", {[](auto& o) { o.indirizzo_guasto = 40; },
             {"Verifica fallita: indirizzo 40 scritto 0, letto 1. I valori da programmare sono ancora "
              "nella finestra: ripetere la programmazione."},
             1, "1", Dopo::Programma, 2});
        riga("UHF, indirizzo 11 guasto", {[](auto& o) { o.indirizzo_guasto = 11; },
             {"Verifica fallita: \"Freq Tx Mhz\" (indirizzo 11) scritto 63, letto 64. Ripetere la programmazione."},
             1, "", Dopo::Uhf, 2});
        riga("byte in più prima della risposta 21, indirizzo 62 lento",
             {[](auto& o) { o.extra_dopo = 20, o.ritardi_indirizzo = {{62, 40}}; }, {}, 2, "1"});
        riga("byte in più prima della risposta 21, indirizzo 62 lento, tipo vecchio", {[](auto& o) {
            o.memoria = memoria_predefinita(Contenuto::Vecchio);
            o.extra_dopo = 20, o.ritardi_indirizzo = {{62, 40}};
        }, {}, 3, "1"});
        riga("\"L\" non sentita, \"K\" 20 ms dopo l'ultimo byte",
             {[](auto& o) { o.l_non_sentite = 1, o.annuncio_dopo_silenzio_ms = 20, o.intervallo_annunci_ms = 900; },
              {atteso::telegrammi, atteso::nota_ottavo_bit}, 2, "843"});
        // Both checks hold without bit 7: only the missing high bytes tell.
        riga("bit 7 perso, tipo vecchio con 200 e 150", {[](auto& o) {
            o.bit7_perso = true;
            o.memoria[Tipo_brenk] = 0, o.memoria[tempopre_rap] = 200, o.memoria[tempopre_amp] = 150;
        }, {atteso::nota_ottavo_bit}, 2, "1"});
        // Taken for reply 62, the reflection of 61 puts the real one 16.5 ms
        // after it, into the middle of the shortest quiet time, on every read
        // (its edge: quiete_minima_su_linea_esatta).
        // Each read looks vouched for until the quiet time after its type and band read again.
        riga("risposta 61 riflessa, indirizzo 62 lento",
             {[](auto& o) { o.rimbalzi = {{61, 13}}, o.ritardi_indirizzo = {{62, 17}}; }, {atteso::errore_lettura}, 3,
              "", Dopo::Niente, 0, "", 3});
        const QString nota_muto = QStringLiteral("nota: Il trasmettitore non risponde. \"Disconetti\" termina l'attesa.");
        riga("risposta 5 dopo quattro secondi e mezzo",
             {[](auto& o) { o.ritardi_indirizzo = {{5, 4500}}; }, {nota_muto}, 1, "1"});
        // The reflection of 61 comes 10 ms into the wait for 62, a byte time
        // before its reply could, and 62 after the note: the read is
        // disturbed, every time.
        riga("risposta 61 riflessa presto, risposta 62 dopo quattro secondi e mezzo",
             {[](auto& o) { o.rimbalzi = {{61, 10}}, o.ritardi_indirizzo = {{62, 4500}}; },
              {nota_muto, nota_muto, nota_muto, atteso::errore_lettura}, 3, ""});
        riga("risposta 62 colpita nella rilettura",
             {[](auto& o) { o.risposta_colpita = 65 + 62; }, {}, 1, "1", Dopo::Programma, 2, atteso::verificato(61)});
        riga("UHF, indirizzo 62 guasto", {[](auto& o) { o.indirizzo_guasto = 62; },
             {"Verifica fallita: \"Banda\" (indirizzo 62) scritto 85, letto 86. Ripetere la programmazione."},
             1, "", Dopo::Uhf, 2});
        riga("valori di fabbrica verificati", {[](auto& o) { o.memoria = memoria_predefinita(Contenuto::VHF); }, {}, 1,
             "1", Dopo::Uhf, 1, atteso::verificato(62)});
        // A stray byte every 50 ms on a line paced at 2400 baud: some are
        // taken for replies, and the read must say so, whatever the type, so
        // that nothing is written. A stray byte taken for a reply puts the PC
        // a request ahead: the last requests reach the transmitter after the read.
        for (const auto& [tipo, contenuto] : {std::pair{"nuovo", Contenuto::UHF}, {"vecchio", Contenuto::Vecchio}}) {
            for (const auto& [nome, byte] : {std::pair{"0xFF", 0xFF}, {"K", int('K')}, {"NUL", 0}}) {
                QTest::addRow("rumore durante la lettura, %s, %s", tipo, nome) << Caso{[contenuto, byte](auto& o) {
                    o.memoria = memoria_predefinita(contenuto);
                    o.rumore_ogni_ms = 50;
                    o.byte_rumore = static_cast<std::uint8_t>(byte);
                }, {atteso::errore_lettura, atteso::senza_lettura}, 3, "", Dopo::Programma};
            }
        }
    }
    // clang-format on
    void guasti()
    {
        QFETCH(Caso, caso);
        Banco b(Contenuto::UHF, caso.guasto);
        QVERIFY(b.connetti());
        if (caso.dopo != Dopo::Niente)
            QVERIFY(b.esegui(caso.dopo == Dopo::Uhf ? carica_fabbrica(b.contesto, Banda::UHF) : programma(b.contesto)));
        const QStringList& messaggi = caso.messaggi;
        QCOMPARE(b.finestra.detti.join(u'\n'), messaggi.join(u'\n'));
        // Of the notes, only the one on bit 7 stays after the read.
        const bool ottavo_bit = messaggi.contains(atteso::nota_ottavo_bit);
        QCOMPARE("nota: " + b.finestra.nota, ottavo_bit ? atteso::nota_ottavo_bit : QStringLiteral("nota: "));
        QCOMPARE(b.finestra.testi.value(Campo::CodiceBrenk), caso.codice);
        // A read said to be disturbed shows nothing at all.
        QCOMPARE(b.finestra.testi.isEmpty(), messaggi.contains(atteso::errore_lettura));
        QCOMPARE(b.finestra.conferma, caso.conferma);
        // A new type's read that its own checks vouch for reads the type and the band again.
        OpzioniSimulatore o = con_memoria(memoria_predefinita(Contenuto::UHF), caso.guasto);
        const bool confermata = o.memoria[Tipo_brenk] == tipo_nuovo && !messaggi.contains(atteso::errore_lettura)
                                && !messaggi.contains(atteso::telegrammi);
        const int riletti = caso.riletti >= 0 ? caso.riletti : confermata;
        QByteArray linea = "L" + lettura_completa(caso.letture - riletti) + lettura_confermata().repeated(riletti);
        if (caso.riletture > 0)
            linea += (caso.dopo == Dopo::Uhf ? scritture(blocco_fabbrica(Banda::UHF)) : scritture(programmazione_uhf()))
                     + lettura_completa(caso.riletture);
        b.aspetta(1000);
        QCOMPARE(b.ricevuti(), linea);
        // The next operation takes the confirmation away.
        congeda(b.contesto, 'E');
        QCOMPARE(b.finestra.conferma, QString());
    }

    // On a line whose bytes take exactly their line time, a quick
    // transmitter's quiet time is the shortest one (the connect's "L" holds
    // its first reply back; a read alone does not), and the real reply 62,
    // 19.5 ms behind the reflection of 61 taken for it, must fall into it.
    // The same when reply 62, 20 ms late, comes back 85 ms after it: the
    // quiet time is two of the slowest replies, not one.
    void quiete_minima_su_linea_esatta_data()
    {
        QTest::addColumn<Guasto>("guasto");
        QTest::newRow("61 riflessa") << Guasto([](auto& o) {
            o.rimbalzi = {{61, 13}}, o.ritardi_indirizzo = {{62, 20}};
        });
        QTest::newRow("62 riflessa tardi") << Guasto([](auto& o) {
            o.ritardi_indirizzo = {{62, 20}}, o.rimbalzi = {{62, 85}};
        });
    }
    void quiete_minima_su_linea_esatta()
    {
        QFETCH(Guasto, guasto);
        Banco b(Contenuto::UHF, guasto);
        QVERIFY(b.connetti());
        QVERIFY(b.esegui(leggi_parametri(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList(2, atteso::errore_lettura));
    }

    // Noise while the writes are acknowledged: a stray "K" taken for an
    // acknowledgement lets the writing go on, and the noise then disturbs
    // the read-back; another byte spoils an acknowledgement, and the writing
    // stops at its time-out. Never verified.
    void rumore_durante_la_programmazione_data()
    {
        QTest::addColumn<int>("rumore");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("K") << int('K') << atteso::scrittura_disturbata;
        QTest::newRow("0xFF") << 0xFF << atteso::time_out;
    }
    void rumore_durante_la_programmazione()
    {
        QFETCH(int, rumore);
        QFETCH(QString, messaggio);
        Banco b(Contenuto::UHF, [rumore](auto& o) {
            o.rumore_ogni_ms = 50;
            o.rumore_da_scrittura = true;
            o.byte_rumore = static_cast<std::uint8_t>(rumore);
        });
        QVERIFY(b.connetti());
        QVERIFY(b.finestra.messaggi.isEmpty());
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{messaggio});
        QCOMPARE(b.finestra.conferma, QString());
        QCOMPARE(b.fleg, 0);
    }
};

QTEST_GUILESS_MAIN(TestDisturbi)
#include "test_disturbi.moc"
