// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The transmitter's 64-address parameter memory as the window mirrors it:
// one number per address (it can hold a real before it is sent), the byte
// coding of a value and the block checksum. The radio telegrams are in
// params/telegrammi.h.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace brenk {

inline constexpr int dimensione_blocco = 64;

// The named block variables, by address.
enum Indirizzo : int {
    tempopre_rap = 0,
    tempopre_amp = 1,
    ntxtot = 2,
    ncicli = 3,
    TONIHL = 4,
    Ning = 5,
    TxSM = 6,
    BaseD1 = 7,
    BaseD2 = 8,
    BaseD3 = 9,
    ByteT1 = 10,
    ByteT2 = 11,
    ByteT3 = 12,
    Byt1 = 13,
    Byt2,
    Byt3,
    Byt4,
    Byt5,
    Byt6,
    Byt7,
    Byt8,
    Byt9,
    Byt10 = 22,
    Byt11 = 23,
    Byt12 = 24,
    Byte1 = 25,
    Byte2,
    Byte3,
    Byte4,
    Byte5,
    Byte6,
    Byte7,
    Byte8,
    Byte9,
    Filtropre = 34,
    Codicerep = 35,
    Zelmbrenk = 36,
    Tipo_brenk = 60,
    totck = 61,
    brenkVU = 62,
};

// A programming writes addresses 0 to 61 of a new type, and of an old one
// 0 to 33, where the telegrams end; 37 to 59 hold no parameter; a read
// stops at 62.
inline constexpr int ultimo_scritto_tipo_nuovo = totck;
inline constexpr int ultimo_scritto_tipo_vecchio = Byte9;
inline constexpr int primo_senza_parametro = Zelmbrenk + 1;
inline constexpr int ultimo_senza_parametro = Tipo_brenk - 1;
inline constexpr int ultimo_letto = brenkVU;

inline constexpr double tipo_nuovo = 78; // "N"
inline constexpr double banda_uhf = 85;  // "U"
inline constexpr double banda_vhf = 86;  // "V"

// The bytes of one read of the block, addresses 0 to 62.
using Letti = std::array<std::uint8_t, ultimo_letto + 1>;

// Every variable counts as 0 until the first read.
struct BloccoParametri {
    std::array<double, dimensione_blocco> valori{};
    // The trusted read of the present connection the variables come from;
    // only over one may a programming write them.
    std::optional<Letti> letti;

    double& operator[](int indirizzo) { return valori.at(static_cast<std::size_t>(indirizzo)); }
    double operator[](int indirizzo) const { return valori.at(static_cast<std::size_t>(indirizzo)); }
};

// The byte a value travels as: the nearest whole number, halves to the even
// one. Empty for a value that no byte can carry (outside 0..255, not a number).
std::optional<std::uint8_t> codifica_byte(double valore);

// (255 - somma) And 255 on the whole number: the byte that brings a sum to
// 255 modulo 256.
std::uint8_t complemento(long long somma);

// The checksum of addresses 0 to 36 over the bytes they hold (the first 37
// of `byte`).
std::uint8_t checksum_blocco(std::span<const std::uint8_t> byte);

// Stores in `totck` the checksum of addresses 0 to 36, summing the bytes the
// values travel as. Values that cannot travel count as 0 here; a programming
// refuses them before it gets this far.
void calcola_totck(BloccoParametri& blocco);

// Some byte of the read has bit 7 set, so the path from the transmitter
// carries it. The checks tell a path that loses it only by chance: the bytes
// a telegram's sum covers always hold an even number above 127, so only a
// sum byte above 127 breaks it; the checksum of addresses 0 to 36 holds when
// they hold an even number too and it is below 128.
bool ottavo_bit_visto(const Letti& letti);

} // namespace brenk
