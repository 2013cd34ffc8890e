// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's parameter fields and option pairs as the block holds them:
// the address each is kept at and the caption the window and the messages
// name it by.

#include "params/blocco.h"

#include <array>
#include <cstddef>

namespace brenk {

// The ten parameter fields, in the order a disconnect empties them.
enum class Campo {
    CodiceBrenk, FqTx, txb_tmp_rap, txb_amp,
    Cmb_n_ing_all, Cmb_N_ing_bat, Cmb_n_tx_tot, cmb_Zelmrep, Cmb_tmr_p_all,
    Text1,
};

// The option pairs, in the order of the window's buttons.
enum class Coppia { Toni, Ripristino, Trasmissione, Modo };

inline constexpr int senza_indirizzo = -1;

struct SchedaCampo {
    Campo campo;
    // The (first) address that holds it; the restore input has none of its
    // own (the mode decides where it goes).
    int indirizzo;
    const char* didascalia;
    // The address holds the field's number as it is.
    bool diretto;
};

// By Campo.
inline constexpr std::array<SchedaCampo, 10> schede_campi{{
    {Campo::CodiceBrenk, Byt4, "Codice Brenk", false},
    {Campo::FqTx, ByteT1, "Freq Tx Mhz", false},
    {Campo::txb_tmp_rap, tempopre_rap, "Timer per rapina", true},
    {Campo::txb_amp, tempopre_amp, "Timer Antiatterramento", true},
    {Campo::Cmb_n_ing_all, Byt5, "N° Ing di All", false},
    {Campo::Cmb_N_ing_bat, senza_indirizzo, "Su Ing N°", false},
    {Campo::Cmb_n_tx_tot, ntxtot, "N° di Tx Tot", true},
    {Campo::cmb_Zelmrep, Codicerep, "Cod Rep", true},
    {Campo::Cmb_tmr_p_all, Filtropre, "Filtro P. All", true},
    {Campo::Text1, brenkVU, "Banda", false},
}};

struct SchedaCoppia {
    Coppia coppia;
    int indirizzo;
    const char* didascalia;
    std::array<const char*, 2> bottoni; // the one that stores 0 first
};

// By Coppia.
inline constexpr std::array<SchedaCoppia, 4> schede_coppie{{
    {Coppia::Toni, TONIHL, "Toni H/L", {"Alti", "Bassi"}},
    {Coppia::Ripristino, Ning, "Ripristino Ing di Allarme", {"No", "Si"}},
    {Coppia::Trasmissione, TxSM, "TX Sing/Mult", {"Sing", "Mult"}},
    {Coppia::Modo, Zelmbrenk, "Zelm/Brenk", {"Brenk", "Zelm"}},
}};

constexpr const SchedaCampo& scheda(Campo c) { return schede_campi[static_cast<std::size_t>(c)]; }
constexpr const SchedaCoppia& scheda(Coppia c) { return schede_coppie[static_cast<std::size_t>(c)]; }

// A programming writes the field from the window: it is kept among the
// parameters, addresses 0 to 36.
constexpr bool programmato(const SchedaCampo& s)
{
    return s.indirizzo >= 0 && s.indirizzo <= Zelmbrenk;
}

} // namespace brenk
