// SPDX-License-Identifier: GPL-3.0-or-later
// The one running operation and the reports of its start and end, which the
// window's status supervision relies on instead of looking every few ms.

#include "finestra_finta.h"
#include "ops/esecutore.h"
#include "ops/operazioni.h"

#include <QTest>

#include <coroutine>
#include <functional>
#include <stdexcept>

using namespace brenk;

namespace {

// A wait that the test itself ends, as a byte from the line would.
struct Sospensione {
    std::coroutine_handle<> chi;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> h) noexcept { chi = h; }
    void await_resume() const noexcept {}
    void riprendi() { std::exchange(chi, {}).resume(); }
};

enum class Fine { Subito, DopoLAttesa, ErroreDopoLAttesa };

Task<void> operazione(Fine fine, Sospensione& s, bool& finita)
{
    if (fine != Fine::Subito)
        co_await s;
    if (fine == Fine::ErroreDopoLAttesa)
        throw std::runtime_error("guasto");
    finita = true;
}

// A window that fails the first thing every operation asks of it.
struct FinestraGuasta : prova::FinestraFinta {
    using FinestraFinta::FinestraFinta;
    void mostra_conferma(const QString&) override { throw std::runtime_error("guasto"); }
};

using Pulsante = std::function<Task<void>(Contesto&)>;

} // namespace

Q_DECLARE_METATYPE(Pulsante)

class TestEsecutore : public QObject {
    Q_OBJECT

private slots:
    void inizio_e_fine_data()
    {
        QTest::addColumn<int>("fine");
        // Per report, whether the operation was still running: '1' or '0'.
        QTest::addColumn<QString>("dopo_l_avvio");
        QTest::addColumn<QString>("alla_fine");
        QTest::addColumn<bool>("finita");
        // An operation that never waits ends within its start.
        QTest::newRow("senza attese") << int(Fine::Subito) << "10"
                                      << "10" << true;
        QTest::newRow("dopo un'attesa") << int(Fine::DopoLAttesa) << "1"
                                        << "11" << true;
        QTest::newRow("con un errore") << int(Fine::ErroreDopoLAttesa) << "1"
                                       << "11" << false;
    }
    // One report once the operation has run to its first wait, one when it
    // ends, however it ends; the one at the end comes from its last step.
    void inizio_e_fine()
    {
        QFETCH(int, fine);
        QFETCH(QString, dopo_l_avvio);
        QFETCH(QString, alla_fine);
        QFETCH(bool, finita);
        QString rapporti;
        Esecutore esecutore([&] { rapporti += esecutore.in_corso() ? u'1' : u'0'; });
        Sospensione s;
        bool conclusa = false;
        if (!finita) // the error escapes, and goes to standard error
            QTest::ignoreMessage(QtCriticalMsg, "brenk-zelm: errore imprevisto non mostrato: guasto");
        QVERIFY(esecutore.avvia(operazione(static_cast<Fine>(fine), s, conclusa)));
        QCOMPARE(rapporti, dopo_l_avvio);
        if (s.chi)
            s.riprendi();
        QCOMPARE(rapporti, alla_fine);
        QCOMPARE(conclusa, finita);
        QVERIFY(!esecutore.in_corso());
    }

    // A second operation is refused without a report; abandoning the running
    // one reports its end and never resumes it.
    void rifiuto_e_abbandono()
    {
        int avvisi = 0;
        Esecutore esecutore([&] { ++avvisi; });
        Sospensione prima, seconda;
        bool conclusa = false;
        QVERIFY(esecutore.avvia(operazione(Fine::DopoLAttesa, prima, conclusa)));
        QVERIFY(!esecutore.avvia(operazione(Fine::DopoLAttesa, seconda, conclusa)));
        QCOMPARE(avvisi, 1);
        QVERIFY(!seconda.chi);
        esecutore.abbandona();
        QCOMPARE(avvisi, 2);
        QVERIFY(!esecutore.in_corso());
        QVERIFY(!conclusa);
    }

    void errore_imprevisto_data()
    {
        QTest::addColumn<Pulsante>("pulsante"); // the operation of the button the row is named after
        QTest::newRow("Connetti") << Pulsante(connetti);
        QTest::newRow("Programma") << Pulsante(programma);
        QTest::newRow("UHF") << Pulsante([](Contesto& c) { return carica_fabbrica(c, Banda::UHF); });
        QTest::newRow("TX") << Pulsante(trasmissione_di_prova);
    }
    // An exception the operation does not expect ends it with a word to the
    // operator and a line on standard error; the busy state and the note are
    // cleared and the next operation runs.
    void errore_imprevisto()
    {
        QFETCH(Pulsante, pulsante);
        const QString nome = QString::fromLatin1(QTest::currentDataTag());
        PortaSeriale porta;
        BloccoParametri blocco;
        int fleg = 1;
        FinestraGuasta finestra(blocco);
        finestra.mostra_progresso(true);
        finestra.mostra_nota(QStringLiteral("Il trasmettitore non risponde. \"Disconetti\" termina l'attesa."));
        Contesto c{porta, blocco, fleg, finestra};
        Esecutore esecutore;
        QTest::ignoreMessage(
            QtCriticalMsg,
            qPrintable(
                QStringLiteral("brenk-zelm: operazione \"%1\" interrotta da un errore imprevisto: guasto").arg(nome)));
        QVERIFY(esecutore.avvia(custodita(c, nome, pulsante(c))));
        QCOMPARE(finestra.testi_messaggi(), QStringList{QStringLiteral("Operazione \"%1\" interrotta da un errore "
                                                                       "imprevisto. Riprovare; se l'errore si ripete, "
                                                                       "riavviare il programma.")
                                                            .arg(nome)});
        QCOMPARE(fleg, 0);
        QVERIFY(!finestra.progresso_visibile);
        QCOMPARE(finestra.nota, QString());
        Sospensione s;
        bool finita = false;
        QVERIFY(esecutore.avvia(operazione(Fine::Subito, s, finita)));
        QVERIFY(finita);
    }
};

QTEST_MAIN(TestEsecutore)
#include "test_esecutore.moc"
