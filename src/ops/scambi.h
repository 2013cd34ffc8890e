#pragma once

// The per-address exchanges with the transmitter, and the pieces the
// whole-block operations share.

#include "ops/contesto.h"

#include <cstdint>
#include <optional>
#include <span>

namespace brenk {

// "R", the address, then exactly one byte back: the value at `indirizzo`.
// Throws ErrorePorta when the port closes before the byte arrives.
Task<std::uint8_t> leggi_indirizzo(PortaSeriale& porta, int indirizzo);

// "W", the address, the value, then the acknowledgement "K". False when it is
// not confirmed, also when the port refuses the bytes.
Task<bool> scrivi_indirizzo(PortaSeriale& porta, int indirizzo, std::uint8_t valore);

// Writes `valori` to addresses 0, 1, ... with the progress bar running. On a
// failed write shows "Errore TIME OUT   ", hides the bar and returns false.
Task<bool> scrivi_blocco(Contesto& c, std::span<const std::uint8_t> valori);

// The closing read of a programming or a factory loading. A port closed under
// it ends it quietly: the operator closed the connection on purpose.
Task<void> rileggi(Contesto& c);

// Runs `operazione` and hands back the port error it ended with, if any.
Task<std::optional<ErrorePorta>> cattura(Task<void> operazione);

} // namespace brenk
