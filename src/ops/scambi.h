// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The per-address exchanges with the transmitter, and the pieces the
// whole-block operations share.

#include "ops/contesto.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace brenk {

// One operation's exchanges with the transmitter. Once linked, the
// transmitter speaks only when spoken to, so whatever waits in the port
// before a request is stale: it is dropped, and no reply or acknowledgement
// is ever taken from an earlier exchange. Leftovers found before the first
// request are expected (a late acknowledgement, an announcement); stale bytes
// before any later request, or a byte in the quiet time after the last
// reply, mean that the exchanges were disturbed.
class Conversazione {
public:
    // A stray byte taken for the last reply puts the real reply back by at
    // most a byte time (4.2 ms at 2400 baud) and the transmitter's turnaround;
    // a USB adapter may hold it up to 16 ms more. Six byte times cover them.
    static constexpr int quiete_ms = 25;

    explicit Conversazione(PortaSeriale& porta) : porta_(porta) {}

    // "R", the address, then exactly one byte back: the value at `indirizzo`.
    // Throws ErrorePorta when the port closes before the byte arrives.
    Task<std::uint8_t> leggi(int indirizzo);
    // "W", the address, the value, then the acknowledgement "K". False when
    // it is not confirmed, also when the port refuses the bytes.
    Task<bool> scrivi(int indirizzo, std::uint8_t valore);
    // The quiet time after the last reply. Throws ErrorePorta when the port
    // closes in it.
    Task<void> concludi();

    bool disturbata() const { return disturbata_; }

private:
    void nuova_richiesta();

    PortaSeriale& porta_;
    bool iniziata_ = false;
    bool disturbata_ = false;
};

// The byte read at each address 0 to 62.
using Letti = std::array<std::uint8_t, 63>;

// Reads addresses 0 to 62 with the progress bar running and keeps them in
// the block. Throws ErrorePorta when the port closes under it.
Task<Letti> leggi_blocco(Contesto& c, Conversazione& linea);

// Shows a block just read: the type, the read-error message when a new
// type's checksum is wrong or the read was `disturbata`, then the fields.
Task<void> mostra_lettura(Contesto& c, const Letti& letti, bool disturbata);

// Writes `valori` to addresses 0, 1, ... with the progress bar running. On a
// failed write shows "Errore TIME OUT   ", hides the bar and returns false.
Task<bool> scrivi_blocco(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori);

// The closing read of a programming or a factory loading, then its verdict:
// a disturbed line or an address that holds another value than written is
// told with a message, and a transmitter that holds exactly what was
// written is confirmed without one. A port closed under the read leaves
// the writing unverified, and the message says so.
Task<void> rileggi_e_verifica(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori);

// Runs `operazione` and hands back the port error it ended with, if any.
Task<std::optional<ErrorePorta>> cattura(Task<void> operazione);

} // namespace brenk
