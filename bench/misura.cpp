// SPDX-License-Identifier: GPL-3.0-or-later
// The configurator's speed on the line: the real main window, headless,
// against the simulated transmitter with every byte paced at its 2400-baud
// line time. Prints, for connect + read, programming and "UHF" loading, each
// run several times, the median run's bytes on the line, their pure line
// time, the measured time and the ratio, with the range of the ratios;
// then the window's wake-ups and processor share while it is idle: just
// opened, with the caret still blinking, then, with the caret at rest, not
// connected, connected and waiting for "K"; the processor time of that
// wait, the processor use during a programming, the start-up time and the
// peak resident memory; then the three operations behind a USB adapter whose
// latency timer is 1 ms and 16 ms, and connect + read against a transmitter
// that answers each request 25 ms and 50 ms late. Last, the window at rest
// once more, alone in a process of its own so that every thread counts:
// headless, and on an X server (Xvfb, without a window manager).
//
// The simulated transmitter runs in a thread of its own, as a real one runs
// beside the PC: the window's work must not hold up its clock.

#include "ops/operazioni.h"
#include "simulatore.h"
#include "ui/avvisi.h"
#include "ui/principale.h"
#include "attese.h"
#include "riga.h"
#include "ui/riposo_cursore.h"
#include "uso.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <tuple>
#include <type_traits>

using namespace brenk;

namespace {

class AvvisiMuti : public Avvisi {
public:
    void beep() override {}
    Task<void> messaggio(const QString& testo, Icona) override
    {
        std::fprintf(stderr, "messaggio: %s\n", qPrintable(testo));
        co_return;
    }
};

// A simulated transmitter in its own thread, reached only through that thread.
class Trasmettitore {
public:
    template <typename F>
    auto nel_filo(F f)
    {
        using R = decltype(f());
        if constexpr (std::is_void_v<R>) {
            QMetaObject::invokeMethod(&contesto_, f, Qt::BlockingQueuedConnection);
        } else {
            R r{};
            QMetaObject::invokeMethod(
                &contesto_, [&] { r = f(); }, Qt::BlockingQueuedConnection);
            return r;
        }
    }

    explicit Trasmettitore(const Simulatore::Opzioni& opzioni)
    {
        filo_.start();
        contesto_.moveToThread(&filo_);
        nel_filo([&] {
            sim_ = new Simulatore(opzioni);
            sim_->avvia();
        });
        orologio_.start();
    }
    ~Trasmettitore()
    {
        nel_filo([this] { delete sim_; });
        filo_.quit();
        filo_.wait();
    }

    QList<Simulatore::Evento> ricevuti()
    {
        return nel_filo([this] { return sim_->registro_ricevuti(); });
    }
    QList<Simulatore::Evento> inviati()
    {
        return nel_filo([this] { return sim_->registro_inviati(); });
    }
    qsizetype byte_sulla_linea() { return ricevuti().size() + inviati().size(); }
    double processore()
    {
        return nel_filo([] { return secondi_processore(RUSAGE_THREAD); });
    }
    // Seconds on the simulator's clock, which starts with it.
    double adesso() const { return double(orologio_.nsecsElapsed()) / 1e9; }

private:
    QThread filo_;
    QObject contesto_;
    Simulatore* sim_ = nullptr;
    QElapsedTimer orologio_;
};

// The window's thread while nothing happens: wake-ups a second and percent
// of one core. Read from that thread itself, so the simulator's thread and
// its paced bytes are not counted.
struct Quiete {
    double sveglie = 0;
    double core = 0;
};

// Two readings `ms` of the event loop apart, and the seconds between them.
template <typename Lettura>
std::tuple<Lettura, Lettura, double> durante(int ms, Lettura (*leggi)())
{
    const Lettura prima = leggi();
    QElapsedTimer parete;
    parete.start();
    attendi_per(ms);
    return {prima, leggi(), double(parete.nsecsElapsed()) / 1e9};
}

template <typename Uso>
Quiete tra(const Uso& prima, const Uso& dopo, double s)
{
    return {double(dopo.cambi - prima.cambi) / s, 100 * (dopo.processore - prima.processore) / s};
}

Quiete misura_quiete(int ms)
{
    const auto [prima, dopo, s] = durante(ms, uso_del_filo);
    return tra(prima, dopo, s);
}

void stampa(const char* nome, const Quiete& q)
{
    std::printf("%-26s %6.1f risvegli/s  %6.3f %% di un core\n", nome, q.sveglie, q.core);
}

class Banco {
public:
    // `latenza_ms`: a USB adapter's latency timer between the line and the
    // PC; `ritardo_ms`: how late the transmitter answers each request.
    explicit Banco(const QString& link, int latenza_ms = 0, int ritardo_ms = 0)
        : finestra(avvisi), sim(opzioni(link, latenza_ms, ritardo_ms))
    {
        qputenv("BRENK_COM1", link.toLocal8Bit());
    }

    static Simulatore::Opzioni opzioni(const QString& link, int latenza_ms, int ritardo_ms)
    {
        Simulatore::Opzioni o;
        o.memoria = memoria_predefinita(Contenuto::UHF);
        o.link = link;
        o.latenza_adattatore_ms = latenza_ms;
        o.ritardo_risposte_ms = ritardo_ms;
        return o;
    }

    void mostra()
    {
        finestra.show();
        attendi([this] { return finestra.windowHandle() && finestra.windowHandle()->isExposed(); });
    }

    void premi(const char* pulsante)
    {
        auto* p = finestra.findChild<QAbstractButton*>(QString::fromLatin1(pulsante));
        attendi([p] { return p->isEnabled(); });
        p->click();
    }

    // Connect + read, timed from the start of the "K" that was answered.
    Riga connetti()
    {
        const qsizetype gia_ricevuti = sim.ricevuti().size();
        premi("Cmd_connetti");
        attendi([this] { return !finestra.occupato(); });
        const double fine = sim.adesso();
        const auto inviati = sim.inviati();
        const auto ricevuti = sim.ricevuti();
        qsizetype primo = inviati.size() - 1;
        while (primo > 0 && inviati[primo].ms > ricevuti[gia_ricevuti].ms)
            --primo;
        const double inizio = inviati[primo].ms / 1000.0 - secondi_per_byte;
        return {"connetti + lettura", ricevuti.size() - gia_ricevuti + inviati.size() - primo,
                inviati.last().ms / 1000.0 - inizio, fine - inizio};
    }

    // Until the transmitter has heard the farewell "E", which the next
    // connect must not count.
    void disconnetti()
    {
        premi("Cmd_disconetti");
        attendi([this] { return sim.ricevuti().last().byte == 'E'; });
    }

    Riga operazione(const char* nome, const char* pulsante)
    {
        const qsizetype prima = sim.byte_sulla_linea();
        const double inizio = sim.adesso();
        premi(pulsante);
        attendi([this] { return !finestra.occupato(); });
        const double fine = sim.adesso();
        return {nome, sim.byte_sulla_linea() - prima, sim.inviati().last().ms / 1000.0 - inizio, fine - inizio};
    }

    // The configurator's processor seconds per wall second over one programming.
    double processore_in_programmazione()
    {
        const double cpu = secondi_processore(RUSAGE_SELF) - sim.processore();
        QElapsedTimer parete;
        parete.start();
        premi("cmd_programma");
        attendi([this] { return !finestra.occupato(); }, 50);
        const double usato = secondi_processore(RUSAGE_SELF) - sim.processore() - cpu;
        return usato / (double(parete.nsecsElapsed()) / 1e9);
    }

    AvvisiMuti avvisi;
    Principale finestra;
    Trasmettitore sim;
};

constexpr int durata_quiete_ms = 10000;

struct Attesa {
    double processore = 0; // seconds, the whole process less the simulator
    Quiete quiete;
};

// Over 10 s of waiting for a "K" that never comes. The processor time is
// the whole process's less the threads of both simulated transmitters.
Attesa in_attesa_di_k(Banco& banco, const QString& link)
{
    Simulatore::Opzioni o;
    o.mai_k = true;
    o.link = link;
    Trasmettitore muto(o);
    qputenv("BRENK_COM1", link.toLocal8Bit());
    banco.premi("Cmd_connetti");
    attendi_per(200);
    const auto configuratore = [&] {
        return secondi_processore(RUSAGE_SELF) - muto.processore() - banco.sim.processore();
    };
    const double prima = configuratore();
    Attesa attesa;
    attesa.quiete = misura_quiete(durata_quiete_ms);
    attesa.processore = configuratore() - prima;
    banco.premi("Cmd_disconetti");
    attendi([&banco] { return !banco.finestra.occupato(); });
    return attesa;
}

// The three operations behind a USB adapter that holds the bytes for the PC
// up to `latenza_ms`: 1 ms is what the configurator asks of the driver, 16 ms
// a common default.
void con_latenza(const QString& link, int latenza_ms)
{
    Banco banco(link, latenza_ms);
    banco.mostra();
    const Riga lettura = banco.connetti();
    const Riga programmazione = banco.operazione("programmazione (New)", "cmd_programma");
    const Riga fabbrica = banco.operazione("valori di fabbrica UHF", "Cmd_init_uhf");
    std::printf("latenza dell'adattatore %2d ms: connetti + lettura %.3f s, programmazione %.3f s, "
                "valori di fabbrica %.3f s\n",
                latenza_ms, lettura.misurato, programmazione.misurato, fabbrica.misurato);
    banco.premi("Cmd_disconetti");
}

// Connect + read when every reply comes `ritardo_ms` late.
void con_ritardo(const QString& link, int ritardo_ms)
{
    Banco banco(link, 0, ritardo_ms);
    banco.mostra();
    const Riga lettura = banco.connetti();
    std::printf("risposte dopo %2d ms: connetti + lettura %.3f s (ultima risposta %.3f s)\n", ritardo_ms,
                lettura.misurato, lettura.all_ultima_risposta);
}

constexpr const char* solo_quiete = "--solo-quiete";

// The window alone, with no simulator beside it, at rest, the caret too:
// every thread of the process, and their sum.
void quiete_da_sola()
{
    AvvisiMuti avvisi;
    Principale finestra(avvisi);
    finestra.show();
    attendi([&finestra] { return finestra.windowHandle() && finestra.windowHandle()->isExposed(); });
    const RiposoCursore* riposo = finestra.findChild<RiposoCursore*>();
    attendi([riposo] { return riposo->a_riposo(); }, 50);
    attendi_per(200);
    const auto [prima, dopo, s] = durante(durata_quiete_ms, fili);
    const QString piattaforma = QGuiApplication::platformName();
    Quiete tutti;
    for (auto f = dopo.cbegin(); f != dopo.cend(); ++f) {
        const Quiete q = tra(prima.value(f.key()), *f, s);
        tutti = {tutti.sveglie + q.sveglie, tutti.core + q.core};
        if (q.sveglie > 0)
            stampa(qPrintable(QStringLiteral("  %1, filo %2").arg(piattaforma, f->nome)), q);
    }
    stampa(qPrintable(QStringLiteral("a riposo, da sola, %1").arg(piattaforma)), tutti);
}

// Runs `programma` with `argomenti` on the platform named; it prints its own line.
void in_disparte(const char* piattaforma, const QString& programma, const QStringList& argomenti)
{
    std::fflush(stdout);
    QProcess p;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(piattaforma));
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(programma, argomenti);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        std::printf("a riposo, da sola (%s): non misurata\n", piattaforma);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (QCoreApplication::arguments().contains(QLatin1String(solo_quiete))) {
        quiete_da_sola();
        return 0;
    }
    QTemporaryDir cartella;
    Banco banco(cartella.filePath(QStringLiteral("com1")));
    banco.mostra();
    const double avvio = dall_avvio();
    attendi_per(200);
    const Quiete appena_aperta = misura_quiete(durata_quiete_ms);
    // No key or click from here on: the caret stays at rest.
    const RiposoCursore* riposo = banco.finestra.findChild<RiposoCursore*>();
    attendi([riposo] { return riposo->a_riposo(); }, 50);
    attendi_per(200);
    const Quiete a_riposo = misura_quiete(durata_quiete_ms);

    std::vector<Riga> letture, programmazioni, fabbriche;
    for (int i = 0; i < ripetizioni; ++i) {
        if (i > 0)
            banco.disconnetti();
        letture.push_back(banco.connetti());
        programmazioni.push_back(banco.operazione("programmazione (New)", "cmd_programma"));
        fabbriche.push_back(banco.operazione("valori di fabbrica UHF", "Cmd_init_uhf"));
    }
    stampa(letture);
    stampa(programmazioni);
    stampa(fabbriche);
    const double in_programmazione = banco.processore_in_programmazione();
    attendi_per(200);
    const Quiete connessa = misura_quiete(durata_quiete_ms);
    banco.premi("Cmd_disconetti");
    const Attesa attesa = in_attesa_di_k(banco, cartella.filePath(QStringLiteral("muto")));

    stampa("appena aperta, lampeggio", appena_aperta);
    stampa("a riposo, non connessa", a_riposo);
    stampa("connessa e ferma", connessa);
    stampa("in attesa di K", attesa.quiete);
    std::printf("attesa di K per 10 s     processore %.3f s (%.2f %% di un core)\n", attesa.processore,
                attesa.processore * 10);
    std::printf("durante la programmazione %.3f s di processore per secondo\n", in_programmazione);
    std::printf("dall'avvio alla finestra  %.3f s\n", avvio);
    std::printf("memoria residente massima %.1f MB\n", picco_memoria_mb());
    for (const int latenza : {1, 16})
        con_latenza(cartella.filePath(QStringLiteral("latenza%1").arg(latenza)), latenza);
    for (const int ritardo : {25, 50})
        con_ritardo(cartella.filePath(QStringLiteral("ritardo%1").arg(ritardo)), ritardo);
    const QString me = QCoreApplication::applicationFilePath();
    in_disparte("offscreen", me, {solo_quiete});
    in_disparte("xcb", QStringLiteral("xvfb-run"), {"-a", me, solo_quiete});
    return 0;
}
