// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/supervisione.h"

#include "ops/operazioni.h"
#include "params/blocco.h"

namespace brenk {

namespace {

void imposta(Supervisione& esito, Controllato c, std::optional<bool> abilitato)
{
    esito.abilitato[static_cast<std::size_t>(c)] = abilitato;
}

// Everything that starts a device operation is off while one runs, so that
// no second operation can interleave its bytes with the running one.
void colonna_comune(Supervisione& esito, bool connesso, bool in_attesa, bool occupato)
{
    const bool libero_connesso = connesso && !occupato;
    imposta(esito, Controllato::Cmd_disconetti, connesso || in_attesa);
    imposta(esito, Controllato::Cmb_com, !connesso && !in_attesa);
    imposta(esito, Controllato::Cmd_connetti, !connesso && !in_attesa);
    imposta(esito, Controllato::Cmd_init_vhf, libero_connesso);
    imposta(esito, Controllato::Cmd_init_uhf, libero_connesso);
    imposta(esito, Controllato::Cmd_tx, libero_connesso);
    // The file controls change what the window shows, or record it.
    for (Controllato c :
         {Controllato::Cmd_apri, Controllato::Cmd_salva, Controllato::Chk_serie, Controllato::Chk_registro})
        imposta(esito, c, !occupato);
}

std::optional<bool> programma_connesso(int fleg, bool occupato)
{
    if (occupato || fleg == 1)
        return false;
    if (fleg == 0)
        return true;
    return std::nullopt;
}

void colonna_connesso(Supervisione& esito, const StatoFinestra& s)
{
    const bool nuovo = s.tipo_brenk == tipo_nuovo;
    imposta(esito, Controllato::cmd_programma, programma_connesso(s.fleg, s.occupato));
    colonna_comune(esito, true, false, s.occupato);
    imposta(esito, Controllato::Cmb_tmr_p_all, nuovo);
    imposta(esito, Controllato::cmb_Zelmrep, nuovo && s.zelm);
    // The type is known only once a read has got to address 60: until the
    // running operation ends, forcing would overwrite the mode byte read.
    esito.forza_brenk = !nuovo && !s.occupato;
    imposta(esito, Controllato::Cmb_n_tx_tot, !s.tx_sing);
    imposta(esito, Controllato::Cmb_N_ing_bat, s.bat_si);
}

} // namespace

Supervisione supervisiona(const StatoFinestra& s)
{
    Supervisione esito;
    if (s.stato == stato_connesso) {
        colonna_connesso(esito, s);
    } else if (s.stato == stato_non_connesso || s.stato == stato_in_attesa) {
        const bool in_attesa = s.stato == stato_in_attesa;
        imposta(esito, Controllato::cmd_programma, false);
        colonna_comune(esito, false, in_attesa, s.occupato);
        esito.svuota_tipo = !in_attesa;
    } else {
        esito.reimposta_stato = true;
    }
    return esito;
}

} // namespace brenk
