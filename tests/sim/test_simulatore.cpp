// SPDX-License-Identifier: GPL-3.0-or-later
#include "banco_simulatore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QtTest>

#include <cmath>

using brenk::Contenuto;
using brenk::Simulatore;

class TestSimulatore : public BancoSimulatore {
    Q_OBJECT

private slots:
    void annunci_data()
    {
        QTest::addColumn<Simulatore::Opzioni>("opzioni");
        QTest::addColumn<QByteArray>("annuncio");
        QTest::newRow("K") << Simulatore::Opzioni{} << QByteArray("K");
        QTest::newRow("spazzatura") << Simulatore::Opzioni{.spazzatura = "xy"} << QByteArray("xyK");
        QTest::newRow("mai K") << Simulatore::Opzioni{.mai_k = true} << QByteArray();
    }

    // Announces only to an open port, ignores all but "L", stops once linked.
    void annunci()
    {
        QFETCH(Simulatore::Opzioni, opzioni);
        QFETCH(QByteArray, annuncio);
        QVERIFY(avvia(opzioni));

        QTest::qWait(250);
        QVERIFY(sim->inviati().isEmpty());

        QVERIFY(pc->apri());
        pc->scrivi(byte({'R', 'x', 'E', 0}));
        QTRY_COMPARE(sim->ricevuti(), byte({'R', 'x', 'E', 0}));
        if (annuncio.isEmpty())
            QTest::qWait(250);
        else
            QTRY_VERIFY(pc->arrivati.size() >= 2 * annuncio.size());
        QVERIFY(!sim->collegato());
        const int ripetizioni = annuncio.isEmpty() ? 0 : int(pc->arrivati.size() / annuncio.size());
        QCOMPARE(pc->arrivati, annuncio.repeated(ripetizioni));

        pc->scrivi("L");
        QTRY_VERIFY(sim->collegato());
        QTRY_COMPARE(pc->arrivati, sim->inviati());
        QTest::qWait(250);
        QCOMPARE(sim->inviati(), pc->arrivati);
    }

    void scambi_data()
    {
        QTest::addColumn<Simulatore::Opzioni>("opzioni");
        QTest::addColumn<QByteArray>("invio");
        QTest::addColumn<QByteArray>("risposta");
        QTest::addColumn<int>("indirizzo");
        QTest::addColumn<int>("valore");
        QTest::addColumn<int>("scritture");
        const auto riga = [](const char* nome, const Simulatore::Opzioni& o, std::initializer_list<int> invio,
                             std::initializer_list<int> risposta, int indirizzo, int valore, int scritture) {
            QTest::newRow(nome) << o << byte(invio) << byte(risposta) << indirizzo << valore << scritture;
        };
        const auto m = brenk::memoria_predefinita(Contenuto::UHF);
        riga("letture", {.memoria = m}, {'R', 0, 'R', 61, 'R', 62, 'R', 63}, {30, 142, 'U', 'Z'}, 0, 30, 0);
        riga("scrittura e rilettura", {.memoria = m}, {'W', 7, 200, 'R', 7}, {'K', 200}, 7, 200, 1);
        riga("oltre l'indirizzo 63", {.memoria = m}, {'R', 64, 'W', 64, 5, 'R', 255}, {0, 'K', 0}, 0, 30, 1);
        riga("lettere ignorate", {.memoria = m}, {'L', 'Z', 'k', 'R', 2}, {6}, 2, 6, 0);
        riga("conferme finite", {.memoria = m, .conferme_max = 2}, {'W', 0, 1, 'W', 1, 2, 'W', 2, 3, 'R', 2},
             {'K', 'K', 6}, 2, 6, 3);
        riga("k minuscola", {.memoria = m, .k_minuscola = true}, {'W', 5, 9}, {'k'}, 5, 9, 1);
        riga("K dopo l'indirizzo", {.memoria = m, .k_dopo_indirizzo = true}, {'W', 5, 9, 'R', 5}, {'K', 9}, 5, 9, 1);
        riga("byte in più", {.memoria = m, .extra_dopo = 1}, {'R', 0, 'R', 1, 'R', 2}, {30, 60, 0xA5, 6}, 1, 60, 0);
        riga("checksum errato", {.memoria = m, .checksum_errato = true}, {'R', 61, 'R', 60}, {143, 78}, 61, 142, 0);
        auto altra = m;
        altra[61] = 255;
        riga("checksum errato 255", {.memoria = altra, .checksum_errato = true}, {'R', 61}, {0}, 61, 255, 0);
        riga("risposte sostituite", {.memoria = m, .risposte_sostituite = {{0, "xy"}, {1, {}}, {3, "k"}}},
             {'R', 0, 'W', 1, 5, 'R', 2, 'W', 3, 7}, {'x', 'y', 6, 'k'}, 1, 5, 2);
        riga("indirizzo guasto", {.memoria = m, .indirizzo_guasto = 7}, {'W', 7, 200, 'W', 8, 9, 'R', 7},
             {'K', 'K', 201}, 7, 201, 2);
        altra = m;
        altra[7] = 0;
        riga("indirizzo guasto, 255", {.memoria = altra, .indirizzo_guasto = 7}, {'W', 7, 255, 'R', 7}, {'K', 0}, 7, 0,
             1);
        // Reset with the second "K": the third write goes unheard, the "L"
        // links it again before its first announcement.
        riga("riavvio dopo 2 conferme, poi L", {.memoria = m, .intervallo_annunci_ms = 1000, .reset_dopo_conferme = 2},
             {'W', 0, 1, 'W', 1, 2, 'W', 2, 3, 'L', 'R', 2}, {'K', 'K', 6}, 2, 6, 2);
        // No byte is translated or swallowed, either way: CR/LF, 0, XON/XOFF,
        // interrupt characters, 255.
        QByteArray invio, attesa;
        for (int v = 0; v < 256; ++v) {
            invio += byte({'W', 5, v, 'R', 5});
            attesa += byte({'K', v});
        }
        QTest::newRow("tutti_i_byte") << Simulatore::Opzioni{.memoria = brenk::memoria_predefinita(Contenuto::Zeri)}
                                      << invio << attesa << 5 << 255 << 256;
    }
    // Each request answered as the transmitter does, or as its fault makes it.
    // The longest row takes over 5 s of line time at 2400 baud.
    void scambi()
    {
        QFETCH(Simulatore::Opzioni, opzioni);
        QFETCH(QByteArray, invio);
        QFETCH(QByteArray, risposta);
        QFETCH(int, indirizzo);
        QFETCH(int, valore);
        QFETCH(int, scritture);
        QVERIFY(avvia(opzioni) && collega());
        pc->scrivi(invio);
        QTRY_COMPARE_WITH_TIMEOUT(sim->ricevuti(), "L" + invio, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(pc->arrivati, risposta, 15000);
        QCOMPARE(int(sim->memoria().at(std::size_t(indirizzo))), valore);
        QCOMPARE(sim->scritture(), scritture);
        QVERIFY(sim->collegato());
    }

    // The faults that play out in time, once linked: what reaches the PC
    // first and not before when, and how much at least; once the link has
    // ended, only the announcements.
    void guasti_nel_tempo_data()
    {
        QTest::addColumn<Simulatore::Opzioni>("opzioni");
        QTest::addColumn<QByteArray>("invio");
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<int>("non_prima_ms");
        QTest::addColumn<int>("almeno");
        const auto riga = [](const char* nome, const Simulatore::Opzioni& o, std::initializer_list<int> invio,
                             std::initializer_list<int> prima, int non_prima_ms, int almeno) {
            QTest::newRow(nome) << o << byte(invio) << byte(prima) << non_prima_ms << almeno;
        };
        const auto m = brenk::memoria_predefinita(Contenuto::UHF);
        riga("conferma in ritardo", {.memoria = m, .conferme_ritardate = {{0, 250}}}, {'W', 1, 2}, {'K'}, 250, 1);
        riga("in ritardo solo la scrittura numero 1", {.memoria = m, .conferme_ritardate = {{1, 250}}}, {'W', 1, 2},
             {'K'}, 0, 1);
        riga("annunci da collegato", {.memoria = m, .annunci_da_collegato = true}, {}, {'K'}, 90, 3);
        riga("rumore", {.memoria = m, .rumore_ogni_ms = 30, .byte_rumore = 0}, {}, {0}, 0, 10);
    }
    void guasti_nel_tempo()
    {
        QFETCH(Simulatore::Opzioni, opzioni);
        QFETCH(QByteArray, invio);
        QFETCH(QByteArray, prima);
        QFETCH(int, non_prima_ms);
        QFETCH(int, almeno);
        QVERIFY(avvia(opzioni) && collega());
        const QDeadlineTimer non_prima(non_prima_ms, Qt::PreciseTimer);
        pc->scrivi(invio);
        QTRY_VERIFY(!pc->arrivati.isEmpty());
        QVERIFY(non_prima.hasExpired());
        QVERIFY(pc->arrivati.startsWith(prima));
        QTRY_VERIFY2(pc->arrivati.size() >= almeno, pc->arrivati.toHex().constData());
        pc->scrivi("E");
        QTRY_VERIFY(!sim->collegato());
        pc->arrivati.clear();
        QTest::qWait(250);
        QCOMPARE(pc->arrivati.count('K'), pc->arrivati.size());
    }

    // Each reply waits for the adapter's next tick: the bytes for the PC
    // leave on a grid of 50 ms, never before the tick after the request (a
    // pause of the machine can only make them later).
    void latenza_dell_adattatore()
    {
        QVERIFY(avvia({.memoria = brenk::memoria_predefinita(Contenuto::UHF), .latenza_adattatore_ms = 50})
                && collega());
        for (int a = 0; a < 3; ++a) {
            pc->scrivi(byte({'R', a}));
            QTRY_COMPARE(pc->arrivati.size(), a + 1);
            const double richiesta = sim->registro_ricevuti().last().ms;
            const double consegna = sim->registro_inviati().last().ms;
            const double tick = std::ceil(richiesta / 50) * 50;
            QVERIFY2(consegna >= tick - 0.5, qPrintable(QStringLiteral("%1 -> %2").arg(richiesta).arg(consegna)));
        }
        QCOMPARE(pc->arrivati, byte({30, 60, 6}));
    }

    void fine_collegamento_data()
    {
        QTest::addColumn<char>("lettera");
        QTest::addColumn<int>("trasmissioni");
        QTest::newRow("E") << 'E' << 0;
        QTest::newRow("Q") << 'Q' << 1;
    }

    // The link ends, announcing resumes, and a new link works.
    void fine_collegamento()
    {
        QFETCH(char, lettera);
        QFETCH(int, trasmissioni);
        QVERIFY(avvia(Contenuto::UHF) && collega());
        QSignalSpy trasmesso(sim.get(), &Simulatore::trasmissione);
        QSignalSpy stato(sim.get(), &Simulatore::stato_collegamento);
        pc->scrivi(byte({lettera, 'R', 0}));
        QTRY_VERIFY(pc->arrivati.startsWith("K"));
        QVERIFY(!sim->collegato());
        QCOMPARE(stato.count(), 1);
        QCOMPARE(trasmesso.count(), trasmissioni);
        QCOMPARE(sim->trasmissioni(), trasmissioni);
        QVERIFY(collega());
        pc->scrivi(byte({'R', 0}));
        QTRY_COMPARE(pc->arrivati, byte({30}));
    }

    // A reply sent after the PC closed its port is lost, as on a real line,
    // instead of waiting for the next port opened on the device.
    void porta_riaperta()
    {
        QVERIFY(avvia(Contenuto::UHF) && collega());
        pc->scrivi(byte({'R', 0}));
        pc->porta.flush();
        pc->porta.close();
        QTRY_COMPARE(sim->inviati().mid(visti), byte({30}));
        nuovo_pc(sim->dispositivo());
        QVERIFY(pc->apri());
        pc->scrivi(byte({'R', 1}));
        QTRY_COMPARE(sim->ricevuti(), byte({'L', 'R', 0, 'R', 1}));
        QTRY_COMPARE(pc->arrivati, byte({60}));
    }

    void ritmo_data()
    {
        QTest::addColumn<int>("letture");
        QTest::addColumn<bool>("extra");
        QTest::addColumn<int>("byte_in_linea");
        // 40 request bytes, then the last reply.
        QTest::newRow("richieste") << 20 << false << 41;
        // 2 request bytes, then the reply and the extra byte one after the other.
        QTest::newRow("risposte") << 1 << true << 4;
    }

    // Measured from the PC's write, which no byte can precede, so late timers
    // can only lengthen it.
    void ritmo()
    {
        QFETCH(int, letture);
        QFETCH(bool, extra);
        QFETCH(int, byte_in_linea);
        const Simulatore::Opzioni opzioni{.memoria = brenk::memoria_predefinita(Contenuto::UHF),
                                          .extra_dopo = extra ? std::optional(letture - 1) : std::nullopt};
        QVERIFY(avvia(opzioni) && collega());
        QByteArray attesa = byte({30}).repeated(letture);
        if (extra)
            attesa += char(opzioni.byte_extra);
        // Waiting on the signal, rather than polling, sees each byte as it comes.
        QSignalSpy letto(&pc->porta, &QSerialPort::readyRead);
        QElapsedTimer cronometro;
        cronometro.start();
        pc->scrivi(byte({'R', 0}).repeated(letture));
        while (pc->arrivati.size() < attesa.size() && letto.wait(2000)) {
        }
        const qint64 trascorsi = cronometro.elapsed();
        QCOMPARE(pc->arrivati, attesa);
        // A 2400-baud character takes 1/240 s; pacing may be late, never early.
        // The margin only absorbs timer granularity.
        QVERIFY2(trascorsi >= 0.9 * byte_in_linea * 1000.0 / 240.0, qPrintable(QString::number(trascorsi)));
    }

    void link_su_un_file()
    {
        QTemporaryFile file;
        QVERIFY(file.open() && file.write("dati") == 4 && file.flush());
        {
            Simulatore s({.link = file.fileName()});
            QString errore;
            QVERIFY(!s.avvia(&errore));
            QVERIFY(errore.contains(file.fileName()));
        }
        QFile ancora(file.fileName());
        QVERIFY(ancora.open(QIODevice::ReadOnly));
        QCOMPARE(ancora.readAll(), QByteArray("dati"));
    }

    void memoria_da_file_data()
    {
        QTest::addColumn<int>("dimensione");
        for (const int dimensione : {63, 64, 65})
            QTest::newRow(qPrintable(QStringLiteral("%1 byte").arg(dimensione))) << dimensione;
    }

    void memoria_da_file()
    {
        QFETCH(int, dimensione);
        QByteArray dati;
        for (int i = 0; i < dimensione; ++i)
            dati.append(static_cast<char>(255 - i));
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(dati) == dati.size() && file.flush());
        QString errore;
        const auto memoria = brenk::memoria_da_file(file.fileName(), &errore);
        QCOMPARE(memoria.has_value(), dimensione == 64);
        QCOMPARE(errore.isEmpty(), dimensione == 64);
        if (memoria)
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(memoria->data()), 64), dati);
    }
};

QTEST_GUILESS_MAIN(TestSimulatore)
#include "test_simulatore.moc"
