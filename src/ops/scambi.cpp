// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/scambi.h"

#include "ops/operazioni.h"
#include "ops/verifica.h"

namespace brenk {

void Conversazione::nuova_richiesta()
{
    const bool stantii = porta_.scarta_in_arrivo() > 0;
    disturbata_ = disturbata_ || (iniziata_ && stantii);
    iniziata_ = true;
    porta_.svuota_buffer();
}

Task<std::uint8_t> Conversazione::leggi(int indirizzo)
{
    nuova_richiesta();
    porta_.invia('R');
    porta_.invia(static_cast<std::uint8_t>(indirizzo));
    const QByteArray risposta = co_await porta_.leggi_carattere();
    if (risposta.size() != 1)
        throw porta_.errore_porta_chiusa();
    co_return static_cast<std::uint8_t>(risposta.at(0));
}

Task<bool> Conversazione::scrivi(int indirizzo, std::uint8_t valore)
{
    nuova_richiesta();
    try {
        porta_.invia('W');
        porta_.invia(static_cast<std::uint8_t>(indirizzo));
        porta_.invia(valore);
    } catch (const ErrorePorta&) {
        co_return false;
    }
    co_return co_await porta_.attendi_conferma();
}

Task<void> Conversazione::concludi()
{
    const bool quieta = co_await porta_.attendi_silenzio(quiete_ms);
    disturbata_ = disturbata_ || !quieta;
}

Task<bool> scrivi_blocco(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori)
{
    auto& finestra = c.finestra;
    finestra.mostra_progresso(true);
    finestra.imposta_massimo_progresso(static_cast<int>(valori.size()) - 1);
    for (std::size_t a = 0; a < valori.size(); ++a) {
        finestra.imposta_progresso(static_cast<int>(a));
        const bool confermata = co_await linea.scrivi(static_cast<int>(a), valori[a]);
        if (!confermata) {
            co_await finestra.messaggio(messaggio_time_out, Icona::Esclamazione);
            finestra.mostra_progresso(false);
            co_return false;
        }
    }
    finestra.imposta_progresso(0);
    finestra.mostra_progresso(false);
    co_return true;
}

namespace {

Task<void> leggi_fino_al_silenzio(Contesto& c, Conversazione& linea, std::optional<Letti>& letti)
{
    letti = co_await leggi_blocco(c, linea);
    co_await linea.concludi();
}

// The read-back; nothing when the port closed under it.
Task<std::optional<Letti>> rileggi(Contesto& c, Conversazione& linea)
{
    std::optional<Letti> letti;
    const auto errore = co_await cattura(leggi_fino_al_silenzio(c, linea, letti));
    if (errore)
        co_return std::nullopt;
    co_return letti;
}

} // namespace

Task<void> rileggi_e_verifica(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori)
{
    const auto letti = co_await rileggi(c, linea);
    if (!letti) {
        co_await c.finestra.messaggio(messaggio_verifica_interrotta, Icona::Esclamazione);
        co_return;
    }
    // A disturbed line is told once, as the writing's verdict.
    co_await mostra_lettura(c, *letti, false);
    if (linea.disturbata()) {
        co_await c.finestra.messaggio(messaggio_scrittura_disturbata, Icona::Esclamazione);
    } else if (const auto differenza = prima_differenza(valori, *letti)) {
        co_await c.finestra.messaggio(messaggio_verifica(*differenza), Icona::Esclamazione);
    } else {
        c.finestra.mostra_conferma(conferma_verifica(valori, *letti));
    }
}

Task<std::optional<ErrorePorta>> cattura(Task<void> operazione)
{
    try {
        co_await std::move(operazione);
    } catch (const ErrorePorta& errore) {
        co_return errore;
    }
    co_return std::nullopt;
}

} // namespace brenk
