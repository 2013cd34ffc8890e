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
// that answers each request 25 ms and 50 ms late; a hands-free series of 12
// units (serie.cpp). Last, the window at rest
// once more, alone in a process of its own so that every thread counts:
// headless, and on an X server (Xvfb, without a window manager).
//

#include "banco.h"
#include "ui/riposo_cursore.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <tuple>

using namespace brenk;

namespace {

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
    SimulatoreInFilo muto(o);
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

constexpr int unita_della_serie = 12;
constexpr const char* solo_quiete = "--solo-quiete";
constexpr const char* solo_serie = "--solo-serie";

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
    if (QCoreApplication::arguments().contains(QLatin1String(solo_serie))) {
        misura_serie(cartella.filePath(QStringLiteral("serie")), unita_della_serie);
        return 0;
    }
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
    misura_serie(cartella.filePath(QStringLiteral("serie")), unita_della_serie);
    const QString me = QCoreApplication::applicationFilePath();
    in_disparte("offscreen", me, {solo_quiete});
    in_disparte("xcb", QStringLiteral("xvfb-run"), {"-a", me, solo_quiete});
    return 0;
}
