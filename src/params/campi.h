// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one table of the window's parameter fields and option pairs: where the
// block keeps each, the caption that names it, the values the window offers
// or its label states, and the words a parameter file uses for it. Every
// other place that needs a field's range or choices reads it here.

#include "params/blocco.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>

namespace brenk {

// The ten parameter fields, in the order a disconnect empties them.
enum class Campo {
    CodiceBrenk,
    FqTx,
    txb_tmp_rap,
    txb_amp,
    Cmb_n_ing_all,
    Cmb_N_ing_bat,
    Cmb_n_tx_tot,
    cmb_Zelmrep,
    Cmb_tmr_p_all,
    Text1,
};
inline constexpr std::size_t numero_campi = 10;

// The option pairs, in the order of the window's buttons.
enum class Coppia { Toni, Ripristino, Trasmissione, Modo };
inline constexpr std::size_t numero_coppie = 4;

// Whole numbers from `minimo` to `massimo`.
struct Intervallo {
    int minimo;
    int massimo;
};

// How a field takes its value.
enum class Immissione {
    Cifre,     // typed digits; the entry check tests the upper end only
    Frequenza, // typed digits and points, MHz
    Scelta,    // one of its whole numbers, picked from the box's list
    Banda,     // set by a read: empty, "  UHF" or "  VHF"
};

inline constexpr int senza_indirizzo = -1;

struct SchedaCampo {
    Campo campo;
    // The (first) address that holds it; the restore input has none of its
    // own (the mode decides where it goes).
    int indirizzo;
    const char* didascalia;
    // Its key in a parameter file.
    const char* chiave;
    Immissione immissione;
    // Cifre: the range its label states; Scelta: its choices. Unused otherwise.
    Intervallo valori;
    // The address holds the field's number as it is.
    bool diretto;
};

// By Campo.
inline constexpr std::array<SchedaCampo, numero_campi> schede_campi{{
    {Campo::CodiceBrenk, Byt4, "Codice Brenk", "codice_brenk", Immissione::Cifre, {1, 1023}, false},
    {Campo::FqTx, ByteT1, "Freq Tx Mhz", "frequenza_tx", Immissione::Frequenza, {}, false},
    {Campo::txb_tmp_rap, tempopre_rap, "Timer per rapina", "timer_rapina", Immissione::Cifre, {1, 255}, true},
    {Campo::txb_amp,
     tempopre_amp,
     "Timer Antiatterramento",
     "timer_antiatterramento",
     Immissione::Cifre,
     {1, 255},
     true},
    {Campo::Cmb_n_ing_all, Byt5, "N° Ing di All", "ingresso_allarme", Immissione::Scelta, {1, 8}, false},
    {Campo::Cmb_N_ing_bat, senza_indirizzo, "Su Ing N°", "ingresso_ripristino", Immissione::Scelta, {1, 8}, false},
    {Campo::Cmb_n_tx_tot, ntxtot, "N° di Tx Tot", "trasmissioni_totali", Immissione::Scelta, {1, 10}, true},
    {Campo::cmb_Zelmrep, Codicerep, "Cod Rep", "codice_ripetitore", Immissione::Scelta, {0, 63}, true},
    {Campo::Cmb_tmr_p_all, Filtropre, "Filtro P. All", "filtro_pulsante", Immissione::Scelta, {0, 5}, true},
    {Campo::Text1, brenkVU, "Banda", "banda", Immissione::Banda, {}, false},
}};

struct SchedaCoppia {
    Coppia coppia;
    int indirizzo;
    const char* didascalia;
    std::array<const char*, 2> bottoni; // the one that stores 0 first
    // In a parameter file and the record: the pair's key, its buttons' words.
    const char* chiave;
    std::array<const char*, 2> parole;
    // Only a programming sets it (the mode): the operator's choice is not asked.
    bool dal_programma;
};

// By Coppia.
inline constexpr std::array<SchedaCoppia, numero_coppie> schede_coppie{{
    {Coppia::Toni, TONIHL, "Toni H/L", {"Alti", "Bassi"}, "toni", {"alti", "bassi"}, false},
    {Coppia::Ripristino, Ning, "Ripristino Ing di Allarme", {"No", "Si"}, "ripristino", {"no", "si"}, false},
    {Coppia::Trasmissione, TxSM, "TX Sing/Mult", {"Sing", "Mult"}, "trasmissione", {"singola", "multipla"}, false},
    {Coppia::Modo, Zelmbrenk, "Zelm/Brenk", {"Brenk", "Zelm"}, "modo", {"brenk", "zelm"}, true},
}};

// The transmit frequency in one band, in MHz: what the window's label
// states, the TX range outside which a programming warns and goes on, and
// the band's limits, outside which it refuses.
struct GammaFrequenza {
    Intervallo etichetta;
    Intervallo tx;
    Intervallo limiti;
};
inline constexpr GammaFrequenza frequenze_vhf{{150, 174}, {140, 175}, {130, 185}};
inline constexpr GammaFrequenza frequenze_uhf{{400, 470}, {410, 470}, {400, 480}};

constexpr const SchedaCampo& scheda(Campo c)
{
    return schede_campi[static_cast<std::size_t>(c)];
}
constexpr const SchedaCoppia& scheda(Coppia c)
{
    return schede_coppie[static_cast<std::size_t>(c)];
}

// A programming writes the field from the window: it is kept among the
// parameters, addresses 0 to 36.
constexpr bool programmato(const SchedaCampo& s)
{
    return s.indirizzo >= 0 && s.indirizzo <= Zelmbrenk;
}

QString didascalia(const SchedaCampo& s);
QString didascalia(const SchedaCoppia& s);
// "1 - 1023".
QString testo_intervallo(Intervallo i);
// A chosen field's choices as its list shows them, first to last.
QStringList scelte(const SchedaCampo& s);
// The text is one of the field's choices, exactly as its list shows it.
bool tra_le_scelte(const SchedaCampo& s, QStringView testo);
// What the field holds could have been typed, picked or read into it: a
// typed text its entry check lets through, a choice or nothing, a band the
// read shows or nothing.
bool ammesso(const SchedaCampo& s, QStringView testo);

} // namespace brenk
