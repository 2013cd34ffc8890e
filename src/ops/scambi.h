// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The per-address exchanges with the transmitter, and the pieces the
// whole-block operations share.

#include "ops/contesto.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace brenk {

// One operation's exchanges with the transmitter. Once linked, the
// transmitter speaks only when spoken to, so whatever waits in the port
// before a request is stale: it is dropped, and no reply or acknowledgement
// is ever taken from an earlier exchange. Leftovers found before the first
// request of a read of the block are expected (a late acknowledgement, an
// announcement, the last read's disturbance); stale bytes before any later
// request, or a byte in the quiet time after the last reply, mean that the
// read was disturbed.
class Conversazione {
public:
    // The shortest quiet time: a stray byte taken for the last reply of a
    // quick transmitter puts the real reply back by a byte time and its
    // turnaround, and a USB adapter may hold it up to 16 ms more.
    static constexpr int quiete_minima_ms = 25;

    // Tells the operator through `finestra` when the transmitter falls silent.
    Conversazione(PortaSeriale& porta, Finestra& finestra) : porta_(porta), finestra_(finestra) {}
    explicit Conversazione(Contesto& c) : Conversazione(c.porta, c.finestra) {}

    // "R", the address, then exactly one byte back: the value at `indirizzo`.
    // A byte sooner than the line allows is not the reply: it disturbs the
    // read, and the reply is still awaited. Throws ErrorePorta when the port
    // closes before the byte arrives.
    Task<std::uint8_t> leggi(int indirizzo);
    // "W", the address, the value, then the acknowledgement "K". False when
    // it is not confirmed. Throws ErrorePorta when the port refuses the bytes.
    Task<bool> scrivi(int indirizzo, std::uint8_t valore);
    // A new read of the block: what waits in the port now is a leftover, and
    // the read is counted undisturbed until something disturbs it.
    void ricomincia();
    // The quiet time that ends a read of the block. Throws ErrorePorta when
    // the port closes in it.
    Task<void> concludi();
    bool disturbata() const { return disturbata_; }

    // Long enough to hear what a reply time of its own puts on the line
    // after the last reply: the next announcement of a transmitter that is
    // not linked (its "replies" come at its announcement rhythm), or the real
    // reply that a stray byte held back. Twice the slowest reply seen, from
    // the moment its request had crossed the line, and a byte time; never
    // less than the shortest.
    int quiete_ms() const;

private:
    void nuova_richiesta();

    Task<QByteArray> risposta(double non_prima_ms);

    PortaSeriale& porta_;
    Finestra& finestra_;
    bool iniziata_ = false;
    bool disturbata_ = false;
    double risposta_piu_lenta_ms_ = 0;
};

// Reads the block again until a read can be trusted, three reads at most:
// an undisturbed read that `si_garantisce` vouches for and whose addresses
// `da_confermare` (bytes that decide something, which its checks do not
// cover) read once more give the same, or the second of two undisturbed
// reads that agree byte for byte. Empty when none could be trusted. Throws
// ErrorePorta when the port closes under it.
Task<std::optional<Letti>> leggi_finche_attendibile(Contesto& c, Conversazione& linea,
                                                    std::function<bool(const Letti&)> si_garantisce,
                                                    std::span<const int> da_confermare = {});

// Writes `valori` to addresses 0, 1, ... with the progress bar running. On a
// write not confirmed shows "Errore TIME OUT   ", on a port that refuses the
// bytes the port's own words; then hides the bar and returns false.
Task<bool> scrivi_blocco(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori);

// The closing read of a programming or a factory loading, read again while
// it is disturbed or differs from what the transmitter should hold, then its
// verdict. A transmitter that holds exactly what was written is shown and
// confirmed without a message. Otherwise nothing read is shown, and a
// message tells why, then `poi`: an address that holds another value than
// written, reads that could not be trusted, or a port closed under the read.
Task<void> rileggi_e_verifica(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori,
                              const QString& poi);

// Runs `operazione` and hands back the port error it ended with, if any.
Task<std::optional<ErrorePorta>> cattura(Task<void> operazione);

} // namespace brenk
