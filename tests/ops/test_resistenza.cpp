// SPDX-License-Identifier: GPL-3.0-or-later
// Long runs against the simulated transmitter on the virtual line: dozens of
// cycles of connect, programming with its read-back, and disconnect, with
// and without faults, on one port and one window as the main window keeps
// them, each cycle with a transmitter of its own at the line's far end.

#include "banco_virtuale.h"
#include "testi.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <numeric>

using namespace brenk;
using namespace brenk::prova;

namespace {

constexpr int cicli_per_fase = 20;
constexpr int cicli_di_riscaldamento = 8;
constexpr long crescita_massima_kb = 2048;
// AddressSanitizer keeps freed memory in quarantine, so resident memory grows
// there by design; its leak check watches that build instead.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr bool memoria_confrontabile = false;
#else
constexpr bool memoria_confrontabile = true;
#endif
// A read is "R" and the address; a write is "W", the address and the value.
constexpr int byte_lettura = 2 * 63;
// A connect's read its checks vouch for: the type and the band read again.
constexpr int byte_conferma = 2 * 2;
constexpr int byte_scrittura = 3;
constexpr int scritture_tipo_nuovo = 62;

// A read of a partly written new-type transmitter complains when the stored
// checksum no longer matches addresses 0 to 36, and when a telegram was cut
// short.
QStringList messaggi_della_lettura(const Memoria& m)
{
    QStringList messaggi;
    if (complemento(std::accumulate(m.begin(), m.begin() + Zelmbrenk + 1, 0LL)) != m[totck])
        messaggi << atteso::errore_lettura;
    Letti letti{};
    std::copy_n(m.begin(), letti.size(), letti.begin());
    if (!telegrammi_integri(letti))
        messaggi << atteso::telegrammi;
    return messaggi;
}

long memoria_residente_kb()
{
    QFile stato(QStringLiteral("/proc/self/status"));
    const QString testo = stato.open(QIODevice::ReadOnly) ? QString::fromLatin1(stato.readAll()) : QString();
    const auto vm = QRegularExpression(QStringLiteral("VmRSS:\\s*(\\d+)")).match(testo);
    return vm.hasMatch() ? vm.captured(1).toLong() : -1;
}

// One cycle with a fault, and how it must end.
struct Ciclo {
    OpzioniSimulatore opzioni = con_memoria(memoria_predefinita(Contenuto::UHF));
    QStringList messaggi_connessione;
    QStringList messaggi_programmazione{atteso::time_out};
    int scritture_inviate = 1;    // write commands that reach the transmitter
    int scritture_eseguite = 1;   // of which it processes
    int letture = 1;              // reads of the block by the connect
    int conferme = byte_conferma; // after them
    int riletture = 0;            // reads of the block after the writes
    bool riagganciato = false;    // the line drops; once back, it is read again
};

// The faults in rotation, each at a point that moves from cycle to cycle.
Ciclo ciclo_con_guasto(int n)
{
    Ciclo c;
    switch (n % 5) {
    case 0:
        c.opzioni.conferme_max = (n * 7) % scritture_tipo_nuovo;
        c.scritture_inviate = c.scritture_eseguite = *c.opzioni.conferme_max + 1;
        break;
    case 1:
        c.opzioni.k_minuscola = true;
        break;
    case 2:
        // A byte more after one of the replies: the disturbed read is read
        // again, and the programming writes and verifies the clean one.
        c.opzioni.extra_dopo = n % 63;
        c.messaggi_programmazione = {};
        c.scritture_inviate = c.scritture_eseguite = scritture_tipo_nuovo;
        c.letture = 2;
        c.riletture = 1;
        break;
    case 3:
        // Address 61 reads back one more than written, twice alike: the
        // connect's checksum message, then the verification names the address.
        c.opzioni.checksum_errato = true;
        c.messaggi_connessione = {atteso::errore_lettura};
        c.messaggi_programmazione = {QStringLiteral("Verifica fallita: \"somma di controllo\" (indirizzo 61) "
                                                    "scritto 141, letto 142. I valori da programmare sono ancora nella "
                                                    "finestra: ripetere la programmazione.")};
        c.scritture_inviate = c.scritture_eseguite = scritture_tipo_nuovo;
        c.letture = 2;
        c.conferme = 0;
        c.riletture = 2;
        break;
    case 4: {
        // On the value byte of write k.
        const int k = 1 + (n * 3) % (scritture_tipo_nuovo - 1);
        c.opzioni.riaggancia_dopo = 1 + byte_lettura + byte_conferma + byte_scrittura * (k + 1);
        c.scritture_inviate = k + 1;
        c.scritture_eseguite = k;
        c.riagganciato = true;
        break;
    }
    }
    return c;
}

} // namespace

class TestResistenza : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Banco> pc; // the configurator's side, kept for the whole run

    // The window's record of the previous cycle goes first.
    void connetti(const QStringList& messaggi)
    {
        pc->finestra.messaggi.clear();
        pc->finestra.eventi.clear();
        pc->finestra.massimi.clear();
        QVERIFY(pc->esegui(brenk::connetti(pc->contesto)));
        QCOMPARE(pc->finestra.testi_messaggi().join("|"), messaggi.join("|"));
        QCOMPARE(pc->finestra.stato, atteso::connesso);
        QCOMPARE(pc->fleg, 0);
    }

    void programma(const QStringList& messaggi)
    {
        QVERIFY(pc->esegui(brenk::programma(pc->contesto)));
        QCOMPARE(pc->finestra.testi_messaggi().join("|"), messaggi.join("|"));
        QCOMPARE(pc->fleg, 0);
        QVERIFY(!pc->finestra.progresso_visibile);
    }

    // "E" is the last byte on the line, the port closed, the fields empty.
    void disconnetti()
    {
        congeda(pc->contesto, 'E');
        QVERIFY(!pc->porta.aperta());
        QCOMPARE(pc->finestra.stato, atteso::non_connesso);
        for (const auto& testo : std::as_const(pc->finestra.testi))
            QVERIFY(testo.isEmpty());
        QVERIFY(pc->avanza_finche([this] { return pc->ricevuti().endsWith('E'); }));
    }

    // Writes a code and a robbery time of its own and sees them read back;
    // the transmitter's memory and the code go on to the next cycle.
    void ciclo_pulito(int n, Memoria& memoria, QString& codice)
    {
        pc->linea.collega(con_memoria(memoria));
        connetti({});
        QCOMPARE(pc->finestra.testi.value(Campo::CodiceBrenk), codice);
        codice = QString::number(1 + (n * 37) % 1023);
        const QString tempo = QString::number(n % 256);
        pc->finestra.testi[Campo::CodiceBrenk] = codice;
        pc->finestra.testi[Campo::txb_tmp_rap] = tempo;
        programma({});
        QCOMPARE(pc->tx().scritture(), scritture_tipo_nuovo);
        QCOMPARE(pc->ricevuti().size(),
                 1 + byte_lettura + byte_conferma + byte_scrittura * scritture_tipo_nuovo + byte_lettura);
        QCOMPARE(pc->finestra.testi.value(Campo::CodiceBrenk), codice);
        QCOMPARE(pc->finestra.testi.value(Campo::txb_tmp_rap), tempo);
        disconnetti();
        memoria = pc->tx().memoria();
    }

    void ciclo_guasto(const Ciclo& c)
    {
        pc->linea.collega(c.opzioni);
        connetti(c.messaggi_connessione);
        pc->finestra.testi[Campo::txb_tmp_rap] = QStringLiteral("31");
        programma(c.messaggi_connessione + c.messaggi_programmazione);
        QCOMPARE(pc->tx().scritture(), c.scritture_eseguite);
        const qsizetype dopo_scritture = 1 + byte_lettura * c.letture + c.conferme
                                         + byte_scrittura * c.scritture_inviate;
        QCOMPARE(pc->ricevuti().size(), dopo_scritture + byte_lettura * c.riletture);
        if (c.riagganciato) {
            pc->linea.ritorna();
            connetti(messaggi_della_lettura(pc->tx().memoria()));
        }
        disconnetti();
    }

private slots:
    void init() { pc = std::make_unique<Banco>(Contenuto::UHF); }

    void cicli_data()
    {
        QTest::addColumn<bool>("guasti");
        QTest::newRow("senza guasti") << false;
        QTest::newRow("con guasti") << true;
    }
    // Each cycle ends as specified, and resident memory stays where it was
    // after the warm-up.
    void cicli()
    {
        QFETCH(bool, guasti);
        long dopo_riscaldamento = 0;
        Memoria memoria = memoria_predefinita(Contenuto::UHF);
        QString codice = QStringLiteral("1");
        for (int n = 0; n < cicli_per_fase; ++n) {
            if (guasti)
                ciclo_guasto(ciclo_con_guasto(n));
            else
                ciclo_pulito(n, memoria, codice);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("ciclo %1").arg(n)));
            if (n + 1 == cicli_di_riscaldamento)
                dopo_riscaldamento = memoria_residente_kb();
        }
        const long alla_fine = memoria_residente_kb();
        qInfo("Memoria residente: %ld kB dopo %d cicli, %ld kB dopo %d", dopo_riscaldamento, cicli_di_riscaldamento,
              alla_fine, cicli_per_fase);
        QVERIFY(dopo_riscaldamento > 0);
        if (memoria_confrontabile)
            QVERIFY2(alla_fine - dopo_riscaldamento < crescita_massima_kb,
                     qPrintable(QStringLiteral("%1 kB -> %2 kB").arg(dopo_riscaldamento).arg(alla_fine)));
    }
};

QTEST_GUILESS_MAIN(TestResistenza)
#include "test_resistenza.moc"
