// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The status supervision: which controls it enables or disables, as a
// function of the status text, `fleg`, the transmitter type, three
// option buttons and whether a device operation is running.

#include <QString>

#include <array>
#include <cstddef>
#include <optional>

namespace brenk {

// The controls it sets, in the order it sets them.
enum class Controllato {
    cmd_programma,
    Cmd_disconetti,
    Cmb_com,
    Cmd_connetti,
    Cmd_init_vhf,
    Cmd_init_uhf,
    Cmd_tx,
    Cmb_tmr_p_all,
    cmb_Zelmrep,
    Cmb_n_tx_tot,
    Cmb_N_ing_bat,
    Cmd_apri,
    Cmd_salva,
    Chk_serie,
    Chk_registro,
};
inline constexpr std::size_t numero_controllati = 15;

struct StatoFinestra {
    QString stato; // the text of txb_stato_con
    int fleg = 0;
    double tipo_brenk = 0; // 78 ("N") marks the new type
    bool zelm = false;     // Opt_zelm selected
    bool tx_sing = false;  // Opt_tx_sing selected
    bool bat_si = false;   // Opt_bat_si selected
    bool occupato = false; // a device operation is running
};

struct Supervisione {
    // Unknown status text: it becomes " Non Connesso" and nothing else
    // happens in this evaluation.
    bool reimposta_stato = false;
    // Per control: enable, disable, or leave it as it is (empty).
    std::array<std::optional<bool>, numero_controllati> abilitato{};
    bool forza_brenk = false;
    bool svuota_tipo = false;
};

Supervisione supervisiona(const StatoFinestra& s);

} // namespace brenk
