// SPDX-License-Identifier: GPL-3.0-or-later
// Each operation once, end to end, on a real line: the real serial port
// against the simulated transmitter on a pseudo-terminal, in real time. The
// bytes, their times and the faults are checked on the virtual line; these
// see the real port carry them, a port held by another configurator, and a
// device that vanishes.
//
// The transmitter announces itself once a second: a "K" that followed the
// first one across the "L" would make the connect read the block again, and
// no pause of a loaded machine lasts that long. Nothing else here depends on
// how quickly the process runs.

#include "banco_operazioni.h"
#include "configuratore.h"
#include "fabbrica_attesa.h"
#include "simulatore.h"
#include "testi.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace brenk;
using namespace brenk::prova;

namespace {

enum class Pulsante { Uhf, Tx };

OpzioniSimulatore uhf_su(const QString& link = {})
{
    auto o = con_memoria(memoria_predefinita(Contenuto::UHF));
    o.intervallo_annunci_ms = 1000;
    o.link = link;
    return o;
}

// The configurator on Com 1, the simulated transmitter at the far end.
struct BancoReale : Configuratore {
    explicit BancoReale(const OpzioniSimulatore& opzioni = uhf_su()) : sim(opzioni)
    {
        sim.avvia();
        qputenv("BRENK_COM1", QFile::encodeName(opzioni.link.isEmpty() ? sim.dispositivo() : opzioni.link));
    }
    // Connects, reads the UHF block once, and shows it.
    void connetti_uhf()
    {
        QVERIFY(connetti());
        QCOMPARE(sim.ricevuti(), "L" + lettura_completa());
        QCOMPARE(finestra.testi.value(Campo::FqTx), QStringLiteral("460"));
        QCOMPARE(finestra.testi_messaggi(), QStringList{});
    }

    Simulatore sim;
};

} // namespace

Q_DECLARE_METATYPE(Pulsante)

class TestLineaReale : public QObject {
    Q_OBJECT

private slots:
    void operazioni_data()
    {
        QTest::addColumn<Pulsante>("pulsante");
        QTest::addColumn<QByteArray>("dopo"); // on the line, after the connect
        QTest::addColumn<QString>("conferma");
        QTest::newRow("UHF") << Pulsante::Uhf << scritture(fabbrica_uhf_attesa) + lettura_completa()
                             << QStringLiteral("Verificato: gli indirizzi 0 - 62 contengono i valori scritti");
        QTest::newRow("TX") << Pulsante::Tx << QByteArray("Q") << QString();
    }
    void operazioni()
    {
        QFETCH(Pulsante, pulsante);
        QFETCH(QByteArray, dopo);
        QFETCH(QString, conferma);
        BancoReale b;
        b.connetti_uhf();
        if (pulsante == Pulsante::Uhf)
            QVERIFY(b.esegui(carica_fabbrica(b.contesto, Banda::UHF)));
        else
            congeda(b.contesto, 'Q');
        const QByteArray attesi = "L" + lettura_completa() + dopo;
        QVERIFY(attendi([&] { return b.sim.ricevuti().size() >= attesi.size(); }));
        QCOMPARE(b.sim.ricevuti(), attesi);
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{});
        QCOMPARE(b.finestra.conferma, conferma);
        QCOMPARE(b.sim.trasmissioni(), pulsante == Pulsante::Tx ? 1 : 0);
    }

    // A programming with its read-back, while another configurator tries
    // the port it uses.
    void secondo_configuratore_sulla_stessa_porta()
    {
        BancoReale b;
        b.connetti_uhf();
        QVERIFY(b.esecutore.avvia(programma(b.contesto)));
        Configuratore altro;
        QVERIFY(altro.connetti());
        QCOMPARE(altro.finestra.testi_messaggi(),
                 (QStringList{QStringLiteral("Porta %1 già aperta o in uso 8005").arg(b.sim.dispositivo()),
                              atteso::porta_guasta}));
        QCOMPARE(altro.finestra.stato, atteso::non_connesso);
        QVERIFY(attendi([&] { return !b.esecutore.in_corso(); }));
        QVERIFY(b.finestra.messaggi.isEmpty());
        QCOMPARE(b.finestra.conferma, QStringLiteral("Verificato: gli indirizzi 0 - 61 contengono i valori scritti"));
        QCOMPARE(b.sim.ricevuti(), "L" + lettura_completa() + scritture(programmazione_uhf()) + lettura_completa());
    }

    // The line drops at write 30 of a programming on "Com 1": the time-out
    // message, a timer that went on ticking all along, and once the device is
    // back a new connect reads what the transmitter holds.
    void linea_persa_durante_la_programmazione()
    {
        constexpr int scritte = 30;
        QTemporaryDir cartella;
        auto o = uhf_su(cartella.filePath(QStringLiteral("com1")));
        o.riaggancia_dopo = 1 + lettura_completa().size() + 3 * (scritte + 1);
        BancoReale b(o);
        b.connetti_uhf();
        QCOMPARE(b.porta.dispositivo(), o.link);

        QSet<int> posizioni_viste;
        int battiti = 0;
        QTimer orologio;
        connect(&orologio, &QTimer::timeout, this, [&] {
            ++battiti;
            if (b.esecutore.in_corso())
                posizioni_viste.insert(b.finestra.progresso);
        });
        orologio.start(10);
        b.finestra.testi[Campo::txb_tmp_rap] = QStringLiteral("31");
        QVERIFY(b.esegui(programma(b.contesto)));
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::time_out});
        QCOMPARE(b.sim.scritture(), scritte);
        QVERIFY(!b.porta.aperta());
        // Ticks came between the writes, not only before and after them.
        QVERIFY2(posizioni_viste.size() >= scritte / 3, qPrintable(QString::number(posizioni_viste.size())));
        const int battiti_alla_fine = battiti;
        QVERIFY(attendi([&] { return battiti > battiti_alla_fine; }));

        QVERIFY(b.sim.ritorna());
        QCOMPARE(QFileInfo(o.link).symLinkTarget(), b.sim.dispositivo());
        congeda(b.contesto, 'E');
        b.finestra.messaggi.clear();
        QVERIFY(b.connetti());
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{atteso::telegrammi});
        const Memoria& m = b.sim.memoria();
        for (int a = tempopre_rap; a <= Zelmbrenk; ++a)
            if (a != ByteT3)
                QCOMPARE(b.blocco[a], double(m[std::size_t(a)]));
        QCOMPARE(b.finestra.testi.value(Campo::txb_tmp_rap), QStringLiteral("31"));
        QCOMPARE(b.finestra.testi.value(Campo::FqTx), QStringLiteral("460"));
    }
};

QTEST_GUILESS_MAIN(TestLineaReale)
#include "test_linea_reale.moc"
