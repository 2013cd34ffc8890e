// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The bench's window and transmitter: the real main window, headless and
// silent, against the simulated transmitter in a thread of its own, as a
// real one runs beside the PC, so that the window's work cannot hold up its
// clock.

#include "attese.h"
#include "riga.h"
#include "simulatore.h"
#include "ui/avvisi.h"
#include "ui/principale.h"
#include "uso.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QThread>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <type_traits>

namespace brenk {

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
class SimulatoreInFilo {
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

    explicit SimulatoreInFilo(const Simulatore::Opzioni& opzioni)
    {
        filo_.start();
        contesto_.moveToThread(&filo_);
        nel_filo([&] {
            sim_ = new Simulatore(opzioni);
            sim_->avvia();
        });
        orologio_.start();
    }
    ~SimulatoreInFilo()
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
    // Runs `f` on the simulator, in its thread.
    void usa(const std::function<void(Simulatore&)>& f)
    {
        nel_filo([&] { f(*sim_); });
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
    SimulatoreInFilo sim;
};

// A series of `unita` units in automatic mode on the simulated line at `link`.
void misura_serie(const QString& link, int unita);

} // namespace brenk
