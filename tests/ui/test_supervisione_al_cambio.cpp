// SPDX-License-Identifier: GPL-3.0-or-later
// The status supervision driven by changes: each change of one of its inputs
// is followed, at the next turn of the event loop and before any time has
// passed, by the column of the status table it calls for; in between nothing
// on the window is set again. The transmitter's end of the line is played by
// the test one exchange at a time, so that changes can be made while an
// operation waits.

#include "banco.h"
#include "testi.h"
#include "trasmettitore_a_mano.h"

#include "params/blocco.h"
#include "ui/avvisi_qt.h"

#include <QLabel>
#include <QMessageBox>

#include <array>

using namespace brenk;
namespace atteso = brenk::prova::atteso;
using brenk::prova::TrasmettitoreAMano;

namespace {

// One turn of the event loop: what is queued runs, no time is let pass.
void un_giro()
{
    QCoreApplication::processEvents();
}

// The three option pairs the table reads: the button selected for true and
// the one for false.
struct Coppia {
    const char* nome;
    const char* vero;
    const char* falso;
};
const Coppia coppie[] = {{"modo", "Opt_zelm", "opt_brenk"},
                         {"tx", "Opt_tx_sing", "Opt_tx_mult"},
                         {"batteria", "Opt_bat_si", "Opt_bat_no"}};
constexpr int cambia_stato = -1;
// A change the operator makes with a click, and the column it leads to.
using Clic = std::pair<const char*, const char*>;

// A row of the status table: its inputs and what follows from them.
struct Riga {
    const char* nome = "";
    const char* stato = "";
    int fleg = 0;
    double tipo = 0;
    std::array<bool, 3> opzioni{}; // per pair of `coppie`
    // Per control: '1' enabled, '0' disabled, '-' left as it was.
    const char* atteso = "";
    // The mode button selected afterwards.
    const char* modo = "";
};

enum class Fase { NonConnessa, InAttesaDiK, ConnessaNuovo, ConnessaVecchio };

} // namespace

Q_DECLARE_METATYPE(Riga)

class TestSupervisioneAlCambio : public ProvaSulBanco {
    Q_OBJECT

    AvvisiQt avvisi_qt;

    bool clic(const char* opzione)
    {
        QTest::mouseClick(b.opzione(opzione), Qt::LeftButton);
        un_giro();
        return b.opzione(opzione)->isChecked();
    }
    bool connetti(TrasmettitoreAMano& t)
    {
        QTest::mouseClick(b.trova("Cmd_connetti"), Qt::LeftButton);
        if (!prova::attendi([this] { return b.stato() == atteso::in_attesa; }, 5000))
            return false;
        t.scrivi("K");
        return t.richiesta("L");
    }
    // The operation over, and what its end queued run.
    bool a_riposo() const
    {
        const bool finita = prova::attendi([this] { return !b.finestra->occupato(); }, 5000);
        un_giro();
        return finita;
    }

private slots:
    void init()
    {
        QVERIFY(b.apri());
        QTRY_COMPARE(b.stato(), atteso::non_connesso);
        un_giro();
    }

    void ogni_cambio_data()
    {
        QTest::addColumn<Riga>("riga");
        // Which input changes last, from another value to the row's: the index
        // of an option pair, or cambia_stato.
        QTest::addColumn<int>("cambio");
        const Riga righe[] = {
            {"non connesso", " Non Connesso", 0, 78, {true, false, false}, "0011000----", "Opt_zelm"},
            {"in attesa", " In Attesa ", 0, 78, {true, false, false}, "0100000----", "Opt_zelm"},
            {"connesso, nuovo, zelm", " Connesso", 0, 78, {true, false, false}, "11001111110", "Opt_zelm"},
            {"connesso, nuovo, brenk, sing, si", " Connesso", 0, 78, {false, true, true}, "11001111001", "opt_brenk"},
            {"connesso, programmazione", " Connesso", 1, 78, {true, false, false}, "01001111110", "Opt_zelm"},
            {"connesso, vecchio", " Connesso", 0, 79, {true, false, true}, "11001110011", "opt_brenk"},
        };
        for (const Riga& r : righe) {
            QTest::addRow("%s / stato", r.nome) << r << cambia_stato;
            if (QString::fromLatin1(r.stato) != atteso::connesso)
                continue;
            for (int c = 0; c < int(std::size(coppie)); ++c)
                QTest::addRow("%s / %s", r.nome, coppie[c].nome) << r << c;
        }
    }

    // The inputs are set with the one named in `cambio` at another value and
    // left to settle; then that one changes, as an operation changes the status
    // or the operator clicks an option, and the row's column must follow at the
    // next turn of the event loop.
    void ogni_cambio()
    {
        QFETCH(Riga, riga);
        QFETCH(int, cambio);
        const QString stato = QString::fromLatin1(riga.stato);
        const auto pulsante = [](int c, bool selezionato) { return selezionato ? coppie[c].vero : coppie[c].falso; };

        b.finestra->sessione().fleg() = riga.fleg;
        b.finestra->sessione().blocco()[Tipo_brenk] = riga.tipo;
        for (int c = 0; c < int(std::size(coppie)); ++c)
            QTest::mouseClick(b.opzione(pulsante(c, riga.opzioni[c] != (c == cambio))), Qt::LeftButton);
        const QString altro_stato = stato == atteso::connesso ? atteso::non_connesso : atteso::connesso;
        b.finestra->imposta_stato(cambio == cambia_stato ? altro_stato : stato);
        un_giro();
        un_giro();

        if (cambio == cambia_stato)
            b.finestra->imposta_stato(stato);
        else
            QTest::mouseClick(b.opzione(pulsante(cambio, riga.opzioni[cambio])), Qt::LeftButton);
        un_giro();
        const QString atteso = QString::fromLatin1(riga.atteso);
        QCOMPARE(b.abilitazioni(atteso), atteso);
        QVERIFY(b.opzione(riga.modo)->isChecked());
        QCOMPARE(b.stato(), stato);
    }

    // An unknown status text becomes " Non Connesso", and its column follows.
    void stato_scritto_dall_operatore()
    {
        b.finestra->sessione().blocco()[Tipo_brenk] = 78;
        b.finestra->imposta_stato(atteso::connesso);
        b.finestra->imposta_tipo(QStringLiteral("New"));
        un_giro();
        QCOMPARE(b.abilitazioni("11001111110"), QStringLiteral("11001111110"));
        b.casella("txb_stato_con")->setText(QStringLiteral("x"));
        un_giro();
        QCOMPARE(b.stato(), atteso::non_connesso);
        un_giro();
        QCOMPARE(b.abilitazioni("0011000----"), QStringLiteral("0011000----"));
        QVERIFY(b.trova<QLabel>("lab_tipo_brenk")->text().isEmpty());
    }

    // Waiting for "K": the start of the operation gives its column; "Disconetti"
    // changes the status within the wait, and the operation's end follows.
    void durante_l_attesa_di_k()
    {
        TrasmettitoreAMano t(Contenuto::UHF);
        QVERIFY(t.valido());
        QTest::mouseClick(b.trova("Cmd_connetti"), Qt::LeftButton);
        un_giro();
        QCOMPARE(b.stato(), atteso::in_attesa);
        QVERIFY(b.finestra->occupato());
        QCOMPARE(b.abilitazioni("0100000----"), QStringLiteral("0100000----"));
        QTest::mouseClick(b.trova("Cmd_disconetti"), Qt::LeftButton);
        un_giro();
        QCOMPARE(b.stato(), atteso::non_connesso);
        QCOMPARE(b.abilitazioni("0011000----"), QStringLiteral("0011000----"));
        QVERIFY(a_riposo());
        QCOMPARE(b.avvisi.testi(), QStringList()); // a cancel, not a failure
        QVERIFY(b.trova("Cmd_connetti")->isEnabled());
    }

    // While the read waits for a reply: clicks on the option buttons, then the
    // type read at address 60 in the middle of the read, then its end.
    void durante_la_lettura()
    {
        TrasmettitoreAMano t(Contenuto::Vecchio);
        QVERIFY(t.valido());
        // A new-type transmitter, as a previous read left it.
        b.finestra->sessione().blocco()[Tipo_brenk] = 78;
        QVERIFY(connetti(t));
        QVERIFY(t.lettura(0));
        un_giro();
        QCOMPARE(b.stato(), atteso::connesso);
        QCOMPARE(b.abilitazioni("01000001110"), QStringLiteral("01000001110"));

        const Clic clic_in_lettura[] = {{"opt_brenk", "01000001010"},
                                        {"Opt_tx_sing", "01000001000"},
                                        {"Opt_bat_si", "01000001001"},
                                        {"Opt_zelm", "01000001101"}};
        for (const auto& [opzione, colonna] : clic_in_lettura) {
            QVERIFY2(clic(opzione), opzione);
            QCOMPARE(b.abilitazioni(colonna), QString::fromLatin1(colonna));
        }

        // Address 60 holds 0: an old-type transmitter. Only a read that can be
        // trusted reaches the block, so nothing changes while the read runs.
        QVERIFY(t.rispondi_letture(0, 60, true));
        QVERIFY(t.lettura(61));
        un_giro();
        QVERIFY(b.finestra->occupato());
        QCOMPARE(b.abilitazioni("01000001101"), QStringLiteral("01000001101"));
        QVERIFY(b.opzione("Opt_zelm")->isChecked());

        // A second read agrees: it shows the transmitter's own options; then,
        // the operation over, the old type forces the Brenk mode.
        QVERIFY(t.rispondi_letture(61, 62, true));
        QVERIFY(t.rispondi_letture(0, 62));
        QVERIFY(a_riposo());
        QCOMPARE(b.abilitazioni("11001110011"), QStringLiteral("11001110011"));
        QVERIFY(b.opzione("opt_brenk")->isChecked());
        QCOMPARE(b.finestra->sessione().blocco()[Zelmbrenk], 0.0);
        QCOMPARE(b.trova<QLabel>("lab_tipo_brenk")->text(), QStringLiteral("Old"));
    }

    // While a programming waits for the acknowledgement of its first write:
    // `fleg` and the running operation hold everything that starts another one;
    // clicks change their own controls and force nothing; the end frees it all.
    void durante_la_programmazione()
    {
        TrasmettitoreAMano t(Contenuto::Vecchio);
        QVERIFY(t.valido());
        QVERIFY(connetti(t));
        QVERIFY(t.rispondi_letture(0, 62) && t.rispondi_letture(0, 62));
        QVERIFY(a_riposo());
        QCOMPARE(b.abilitazioni("11001110011"), QStringLiteral("11001110011"));

        QTest::mouseClick(b.trova("cmd_programma"), Qt::LeftButton);
        QVERIFY(t.scrittura(0));
        un_giro();
        QCOMPARE(b.finestra->sessione().fleg(), 1);
        QCOMPARE(b.abilitazioni("01000000011"), QStringLiteral("01000000011"));

        const Clic clic_in_programmazione[] = {{"Opt_tx_sing", "01000000001"},
                                               {"Opt_bat_no", "01000000000"},
                                               {"Opt_zelm", "01000000000"}};
        for (const auto& [opzione, colonna] : clic_in_programmazione) {
            QVERIFY2(clic(opzione), opzione);
            QCOMPARE(b.abilitazioni(colonna), QString::fromLatin1(colonna));
        }

        // An old-type block: addresses 0 to 33, then the read-back.
        t.conferma();
        QVERIFY(t.conferma_scritture(1, 33));
        QVERIFY(t.rispondi_letture(0, 62));
        QVERIFY(a_riposo());
        QCOMPARE(b.finestra->sessione().fleg(), 0);
        QCOMPARE(b.abilitazioni("11001110011"), QStringLiteral("11001110011"));
        QVERIFY(b.opzione("opt_brenk")->isChecked());
        QVERIFY(b.avvisi.messaggi().isEmpty());
    }

    // The last step of an operation that comes after the operator has closed a
    // message and changes no input itself: its end alone frees the buttons.
    void fine_dopo_un_messaggio()
    {
        Memoria memoria = memoria_predefinita(Contenuto::UHF);
        ++memoria[totck];
        TrasmettitoreAMano t(memoria);
        QVERIFY(t.valido());
        QVERIFY(b.apri(&avvisi_qt));
        QTRY_COMPARE(b.stato(), atteso::non_connesso);
        // The transmitter's own options, so that showing them selects nothing new.
        QVERIFY(clic("Opt_bat_si"));

        QVERIFY(connetti(t));
        QVERIFY(t.rispondi_letture(0, 62) && t.rispondi_letture(0, 62));
        QVERIFY(prova::attendi([] { return scatola_aperta() != nullptr; }, 5000));
        QCOMPARE(scatola_aperta()->text(), atteso::errore_lettura);
        un_giro();
        QCOMPARE(b.abilitazioni("01000001111"), QStringLiteral("01000001111"));

        QTest::mouseClick(scatola_aperta()->button(QMessageBox::Ok), Qt::LeftButton);
        QVERIFY(a_riposo());
        QCOMPARE(b.abilitazioni("11001111111"), QStringLiteral("11001111111"));
    }

    void a_riposo_nulla_si_ripete_data()
    {
        QTest::addColumn<int>("fase");
        QTest::newRow("non connessa") << int(Fase::NonConnessa);
        QTest::newRow("in attesa di K") << int(Fase::InAttesaDiK);
        QTest::newRow("connessa, tipo nuovo") << int(Fase::ConnessaNuovo);
        QTest::newRow("connessa, tipo vecchio") << int(Fase::ConnessaVecchio);
    }

    // With nothing happening, nothing on the window is set again: no repaint, no
    // enabled state, text or selection touched, for a whole second.
    void a_riposo_nulla_si_ripete()
    {
        QFETCH(int, fase);
        const auto f = static_cast<Fase>(fase);
        TrasmettitoreAMano t(f == Fase::ConnessaVecchio ? Contenuto::Vecchio : Contenuto::UHF);
        QVERIFY(t.valido());
        if (f != Fase::NonConnessa)
            QVERIFY(connetti(t));
        if (f == Fase::ConnessaNuovo || f == Fase::ConnessaVecchio) {
            QVERIFY(t.rispondi_letture(0, 62));
            // A new type's read: its type and band once more; an old type's: a second read.
            QVERIFY(f == Fase::ConnessaVecchio ? t.rispondi_letture(0, 62)
                                               : t.rispondi_letture(60, 60) && t.rispondi_letture(62, 62));
            QVERIFY(a_riposo());
        }
        // A focused text field blinks its cursor: the focus goes to a button.
        b.trova("Command4")->setFocus();
        QTest::qWait(100);

        Spettatore osservatore(*b.finestra);
        QTest::qWait(1000);
        QCOMPARE(osservatore.ridisegni, 0);
        QCOMPARE(osservatore.abilitazioni, 0);
        QCOMPARE(osservatore.testi, 0);
        QCOMPARE(osservatore.selezioni, 0);
    }
};

QTEST_MAIN(TestSupervisioneAlCambio)
#include "test_supervisione_al_cambio.moc"
