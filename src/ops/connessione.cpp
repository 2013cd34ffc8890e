// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/testi.h"
#include "ops/operazioni.h"
#include "ops/scambi.h"

namespace brenk {

namespace {

// A transmitter that has not announced itself within the reply time-out is
// asked for where the progress bar runs: on which port, switched on, its
// cable; the wait goes on until it speaks or "Disconetti".
Task<void> attendi_annuncio(Contesto& c)
{
    const bool pronto = co_await c.porta.attendi_pronto(c.porta.timeout());
    if (pronto)
        co_return;
    c.finestra.mostra_nota(nota_in_attesa.arg(nome_com.arg(c.porta.numero()), c.porta.dispositivo()));
    co_await c.porta.attendi_pronto();
    c.finestra.mostra_nota({});
}

// The unit just left goes on announcing itself until it is taken off the
// cable: the next unit is the first to announce once the line has been
// quiet for five of its announcements.
constexpr int unita_tolta_ms = 500;

Task<void> attendi_cambio(Contesto& c)
{
    for (;;) {
        const bool quieta = co_await c.porta.attendi_silenzio(unita_tolta_ms);
        if (quieta)
            co_return;
        c.porta.scarta_in_arrivo();
    }
}

// The handshake and the first read: the transmitter speaks first with "K".
Task<void> collega(Contesto& c, bool dopo_un_altra)
{
    c.blocco.letti.reset();
    c.porta.apri_porta();
    c.finestra.imposta_stato(stato_in_attesa);
    if (dopo_un_altra)
        co_await attendi_cambio(c);
    co_await attendi_annuncio(c);
    c.porta.invia('L');
    c.finestra.imposta_stato(stato_connesso);
    c.porta.svuota_buffer();
    co_await leggi_parametri(c);
    c.porta.svuota_buffer();
    c.fleg = 0;
}

// The only error trap: the port layer's own words, then the verdict.
// Nothing is undone.
Task<void> segnala_guasto(Contesto& c, const ErrorePorta& errore)
{
    c.eventi.guasto_porta_detto();
    co_await c.messaggio(errore.testo(), Icona::Nessuna);
    co_await c.messaggio(messaggio_porta_guasta, Icona::Esclamazione);
}

// A port the program closed under the connect ("Disconetti", another port
// chosen) is the operator's choice, not a failure: nothing is told.
Task<void> connetti_dopo(Contesto& c, bool dopo_un_altra)
{
    const auto errore = co_await cattura(collega(c, dopo_un_altra));
    if (errore && !errore->porta_chiusa())
        co_await segnala_guasto(c, *errore);
}

} // namespace

Task<void> connetti(Contesto& c)
{
    c.finestra.mostra_conferma({});
    co_await connetti_dopo(c, false);
}

Task<void> connetti_la_prossima(Contesto& c)
{
    co_await connetti_dopo(c, true);
}

namespace {

// The letter if the port takes it, " Non Connesso", the port closed, the
// fields emptied. The port's error when the letter could not go.
std::optional<ErrorePorta> chiudi_collegamento(Contesto& c, char lettera)
{
    c.finestra.mostra_conferma({});
    c.blocco.letti.reset();
    std::optional<ErrorePorta> errore;
    try {
        c.porta.invia(lettera);
    } catch (const ErrorePorta& e) {
        errore = e;
    }
    c.finestra.imposta_stato(stato_non_connesso);
    c.porta.chiudi_porta();
    svuota_campi(c.finestra);
    return errore;
}

} // namespace

// A port that is closed or fails now is closed all the same; nothing is
// awaited, nothing is told.
void congeda(Contesto& c, char lettera)
{
    chiudi_collegamento(c, lettera);
}

Task<void> trasmissione_di_prova(Contesto& c)
{
    if (const auto errore = chiudi_collegamento(c, 'Q')) {
        c.eventi.guasto_porta_detto();
        co_await c.messaggio(messaggio_tx_non_avviata.arg(errore->descrizione), Icona::Esclamazione);
    }
}

void svuota_campi(Finestra& finestra)
{
    for (Campo campo :
         {Campo::CodiceBrenk, Campo::FqTx, Campo::txb_tmp_rap, Campo::txb_amp, Campo::Cmb_n_ing_all,
          Campo::Cmb_N_ing_bat, Campo::Cmb_n_tx_tot, Campo::cmb_Zelmrep, Campo::Cmb_tmr_p_all, Campo::Text1})
        finestra.imposta_testo(campo, QString());
}

} // namespace brenk
