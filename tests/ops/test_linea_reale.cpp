// SPDX-License-Identifier: GPL-3.0-or-later
// The operations end to end on a real line: the real serial port against the
// simulated transmitter on a pseudo-terminal, in real time, carrying what the
// virtual line's tests check. The transmitter announces itself once a second:
// a second "K" would cross the "L" only if the process stood still that long.

#include "banco_virtuale.h"
#include "esegui.h"
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

// The configurator's side without a screen, on the real port of Com 1.
struct Configuratore {
    bool esegui(Task<void> operazione)
    {
        return esecutore.avvia(std::move(operazione)) && attendi([this] { return !esecutore.in_corso(); });
    }
    bool connetti() { return esegui(brenk::connetti(contesto)); }

    PortaSeriale porta;
    BloccoParametri blocco;
    int fleg = 0;
    FinestraFinta finestra{blocco};
    Contesto contesto{porta, blocco, fleg, finestra};
    // Last, so that a waiting operation goes before the port it waits on.
    Esecutore esecutore;
};

// The configurator connected to the simulated UHF transmitter through
// `link` (none: its device).
struct BancoReale : Configuratore {
    explicit BancoReale(const QString& link = {}, std::optional<int> riaggancia_dopo = {})
        : sim(con_memoria(memoria_predefinita(Contenuto::UHF), [&](auto& o) {
              o.intervallo_annunci_ms = 1000, o.link = link, o.riaggancia_dopo = riaggancia_dopo;
          }))
    {
        sim.avvia();
        qputenv("BRENK_COM1", QFile::encodeName(link.isEmpty() ? sim.dispositivo() : link));
        QVERIFY(connetti());
        QCOMPARE(sim.ricevuti(), "L" + lettura_confermata());
        QCOMPARE(finestra.testi.value(Campo::FqTx), QStringLiteral("460"));
    }

    Simulatore sim;
};

} // namespace

class TestLineaReale : public QObject {
    Q_OBJECT

private slots:
    // Programma, while another configurator tries the port; UHF; TX.
    void programma_uhf_e_tx()
    {
        BancoReale b;
        QVERIFY(b.esecutore.avvia(programma(b.contesto)));
        Configuratore altro;
        QVERIFY(altro.connetti());
        QCOMPARE(altro.finestra.testi_messaggi(),
                 (QStringList{QStringLiteral("Porta %1 già aperta o in uso 8005").arg(b.sim.dispositivo()),
                              atteso::porta_guasta}));
        QCOMPARE(altro.finestra.stato, atteso::non_connesso);
        QVERIFY(attendi([&] { return !b.esecutore.in_corso(); }));
        QCOMPARE(b.finestra.conferma, atteso::verificato(61));
        QVERIFY(b.esegui(carica_fabbrica(b.contesto, Banda::UHF)));
        QCOMPARE(b.finestra.conferma, atteso::verificato(62));
        congeda(b.contesto, 'Q');
        QVERIFY(attendi([&] { return b.sim.trasmissioni() == 1; }));
        QCOMPARE(b.sim.ricevuti(), "L" + lettura_confermata() + scritture(programmazione_uhf()) + lettura_completa()
                                       + scritture(fabbrica_uhf_attesa) + lettura_completa() + 'Q');
        QCOMPARE(b.finestra.testi_messaggi(), QStringList{});
    }

    // The line drops at write 30 of a programming on "Com 1": the time-out
    // message, a timer that went on ticking all along, and once the device is
    // back a new connect reads what the transmitter holds.
    void linea_persa_durante_la_programmazione()
    {
        constexpr int scritte = 30;
        QTemporaryDir cartella;
        const QString link = cartella.filePath(QStringLiteral("com1"));
        BancoReale b(link, 1 + lettura_confermata().size() + 3 * (scritte + 1));
        QCOMPARE(b.porta.dispositivo(), link);

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
        QCOMPARE(QFileInfo(link).symLinkTarget(), b.sim.dispositivo());
        congeda(b.contesto, 'E');
        b.finestra.messaggi.clear();
        QVERIFY(b.connetti());
        // The alarm telegram written, the restore telegram cut short.
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
