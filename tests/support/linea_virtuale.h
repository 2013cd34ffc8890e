// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The transmitter inside the process, on a clock that only moves when told
// to: the fuzzer drives the real operations and the real port logic through
// this line at thousands of exchanges a second, with every wait, time-out
// and quiet time measured in virtual milliseconds.
//
// OrologioVirtuale runs what is due in time order, one event per avanza().
// LineaVirtuale joins a fake serial device (the PC's end) to a Trasmettitore
// with each byte paced at its 2400-baud line time in both directions, and
// logs every byte at the PC's end in one numbered sequence.

#include "link/dispositivo.h"
#include "link/orologio.h"
#include "trasmettitore.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace brenk::prova {

class OrologioVirtuale : public Orologio {
public:
    std::unique_ptr<Sveglia> sveglia() override { return std::make_unique<SvegliaVirtuale>(*this); }
    double adesso_ms() const override { return adesso_; }

    // Runs `cosa` at `quando` (not before now), after everything due earlier
    // or at the same time and already planned.
    void pianifica(double quando, std::function<void()> cosa) { metti(quando, nullptr, std::move(cosa)); }

    // Moves time to the next event and runs it; false when none is planned
    // by `entro`, time then moved to `entro` if given. Only a handful are
    // ever planned (the bytes on their way, one per started alarm), so a
    // plain search finds the next.
    bool avanza(double entro = std::numeric_limits<double>::infinity())
    {
        const auto prossimo = std::min_element(eventi_.begin(), eventi_.end(), [](const Evento& a, const Evento& b) {
            return a.quando != b.quando ? a.quando < b.quando : a.numero < b.numero;
        });
        if (prossimo == eventi_.end() || prossimo->quando > entro) {
            adesso_ = entro == std::numeric_limits<double>::infinity() ? adesso_ : std::max(adesso_, entro);
            return false;
        }
        Evento evento = std::move(*prossimo);
        *prossimo = std::move(eventi_.back());
        eventi_.pop_back();
        adesso_ = evento.quando;
        if (evento.sveglia) {
            evento.sveglia->pianificata_ = false;
            evento.sveglia->suona();
        } else
            evento.cosa();
        return true;
    }

private:
    class SvegliaVirtuale : public Sveglia {
    public:
        explicit SvegliaVirtuale(OrologioVirtuale& o) : orologio_(o) {}
        ~SvegliaVirtuale() override { orologio_.togli(this); }
        void avvia(int ms) override
        {
            orologio_.togli(this);
            orologio_.metti(orologio_.adesso_ms() + ms, this, {});
        }
        void ferma() override { orologio_.togli(this); }
        bool attiva() const override { return pianificata_; }
        void suona() { emit suonata(); }

        bool pianificata_ = false; // kept by the clock, so that a look costs nothing

    private:
        OrologioVirtuale& orologio_;
    };

    struct Evento {
        double quando;
        std::uint64_t numero;
        SvegliaVirtuale* sveglia; // or else:
        std::function<void()> cosa;
    };

    void metti(double quando, SvegliaVirtuale* sveglia, std::function<void()> cosa)
    {
        eventi_.push_back({std::max(quando, adesso_), numero_++, sveglia, std::move(cosa)});
        if (sveglia)
            sveglia->pianificata_ = true;
    }
    // An alarm has one event at most; the events' order is their time.
    void togli(SvegliaVirtuale* sveglia)
    {
        if (!std::exchange(sveglia->pianificata_, false))
            return;
        const auto e = std::find_if(eventi_.begin(), eventi_.end(),
                                    [sveglia](const Evento& e) { return e.sveglia == sveglia; });
        *e = std::move(eventi_.back());
        eventi_.pop_back();
    }

    double adesso_ = 0;
    std::uint64_t numero_ = 0;
    std::vector<Evento> eventi_;
};

class LineaVirtuale : public QObject {
public:
    static constexpr double tempo_byte_ms = 10.0 * 1000.0 / 2400.0;

    // A byte at the PC's end: sent by the PC, or arrived for it.
    struct Passaggio {
        std::uint8_t byte;
        bool dal_pc;
        double ms;
    };

    LineaVirtuale(const OpzioniSimulatore& opzioni, OrologioVirtuale& orologio) : orologio_(orologio)
    {
        collega(opzioni);
    }

    // The PC's end, for its PortaSeriale; one per line.
    std::unique_ptr<Dispositivo> dispositivo() { return std::make_unique<Estremo>(*this); }

    // Another transmitter at the far end, announcing itself; bytes on their way are lost.
    void collega(const OpzioniSimulatore& opzioni)
    {
        trasmettitore_ = std::make_unique<Trasmettitore>(opzioni, orologio_, [this] { return aperto_; });
        connect(trasmettitore_.get(), &Trasmettitore::invia, this, [this](const QByteArray& b) { verso_il_pc(b); });
        connect(trasmettitore_.get(), &Trasmettitore::riaggancio, this, &LineaVirtuale::riaggancia);
        ritorna();
    }
    // The unit is taken off the cable; the adapter stays.
    void togli() { trasmettitore_->ferma(); }
    // The adapter is pulled out: bytes on their way are lost for good.
    void riaggancia()
    {
        ++vita_;
        riagganciata_ = true;
        trasmettitore_->ferma();
        if (!aperto_)
            return;
        aperto_ = false;
        in_arrivo_.clear();
        if (estremo_)
            estremo_->perso();
    }
    // ...and plugged in again: the transmitter, its memory kept, announces itself.
    void ritorna()
    {
        ++vita_;
        riagganciata_ = false;
        trasmettitore_->avvia();
    }

    // The adapter is pulled out as the PC writes its `n`-th byte from now: that
    // write fails, as a real one does.
    void stacca_alla_scrittura(int n) { scritture_prima_dello_strappo_ = n; }

    const Trasmettitore& trasmettitore() const { return *trasmettitore_; }
    // Every byte the transmitter at the far end has received.
    QByteArray ricevuti() const
    {
        QByteArray r;
        for (const auto& e : trasmettitore_->registro_ricevuti())
            r.append(static_cast<char>(e.byte));
        return r;
    }
    const std::vector<Passaggio>& registro() const { return registro_; }
    // When the PC last sent a byte.
    double ultimo_dal_pc_ms() const { return ultimo_dal_pc_ms_; }
    bool riagganciata() const { return riagganciata_; }

private:
    class Estremo : public Dispositivo {
    public:
        explicit Estremo(LineaVirtuale& l) : linea_(l) { linea_.estremo_ = this; }
        ~Estremo() override { linea_.estremo_ = nullptr; }

        std::optional<ErrorePorta> apri(const QString& nome) override
        {
            if (linea_.riagganciata_)
                return errore_porta(QSerialPort::DeviceNotFoundError, nome);
            linea_.aperto_ = true;
            return std::nullopt;
        }
        void chiudi() override
        {
            linea_.aperto_ = false;
            linea_.in_arrivo_.clear();
        }
        bool aperto() const override { return linea_.aperto_; }
        qint64 in_arrivo() const override { return static_cast<qint64>(linea_.in_arrivo_.size()); }
        std::uint8_t prendi() override
        {
            const std::uint8_t b = linea_.in_arrivo_.front();
            linea_.in_arrivo_.pop_front();
            return b;
        }
        qint64 scarta() override { return static_cast<qint64>(std::exchange(linea_.in_arrivo_, {}).size()); }
        bool scrivi(std::uint8_t byte) override
        {
            // The write fails now; the device reports its loss from the event loop after.
            if (linea_.scritture_prima_dello_strappo_ && --*linea_.scritture_prima_dello_strappo_ == 0) {
                QMetaObject::invokeMethod(&linea_, &LineaVirtuale::riaggancia, Qt::QueuedConnection);
                return false;
            }
            linea_.dal_pc(byte);
            return true;
        }
        void imposta_linee(LineeModem l) override { linee_ = l; }
        LineeModem linee() const override { return linee_; }
        void perso() { emit Dispositivo::perso(errore_porta(QSerialPort::ResourceError, QStringLiteral("virtuale"))); }

    private:
        LineaVirtuale& linea_;
        LineeModem linee_;
    };

    // Each byte takes its line time after the later of now and the byte
    // before it in the same direction.
    double consegna(double& ultima)
    {
        ultima = std::max(orologio_.adesso_ms(), ultima) + tempo_byte_ms;
        return ultima;
    }

    void dal_pc(std::uint8_t byte)
    {
        ultimo_dal_pc_ms_ = orologio_.adesso_ms();
        registro_.push_back({byte, true, ultimo_dal_pc_ms_});
        orologio_.pianifica(consegna(ultima_verso_tx_), [this, byte, vita = vita_] {
            if (vita == vita_)
                trasmettitore_->ricevi(byte);
        });
    }

    void verso_il_pc(const QByteArray& byte)
    {
        for (const char c : byte) {
            orologio_.pianifica(consegna(ultima_verso_pc_), [this, c, vita = vita_] {
                if (vita != vita_ || !aperto_)
                    return;
                registro_.push_back({static_cast<std::uint8_t>(c), false, orologio_.adesso_ms()});
                in_arrivo_.push_back(static_cast<std::uint8_t>(c));
                if (estremo_)
                    emit estremo_->arrivati();
            });
        }
    }

    OrologioVirtuale& orologio_;
    std::unique_ptr<Trasmettitore> trasmettitore_;
    Estremo* estremo_ = nullptr;
    bool aperto_ = false;
    bool riagganciata_ = false;
    int vita_ = 0;
    std::optional<int> scritture_prima_dello_strappo_;
    double ultima_verso_tx_ = 0;
    double ultima_verso_pc_ = 0;
    double ultimo_dal_pc_ms_ = 0;
    std::deque<std::uint8_t> in_arrivo_;
    std::vector<Passaggio> registro_;
};

} // namespace brenk::prova
