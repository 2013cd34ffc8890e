#include "ops/scambi.h"

#include "ops/operazioni.h"

namespace brenk {

Task<std::uint8_t> leggi_indirizzo(PortaSeriale& porta, int indirizzo)
{
    porta.svuota_buffer();
    porta.invia('R');
    porta.invia(static_cast<std::uint8_t>(indirizzo));
    const QByteArray risposta = co_await porta.leggi_carattere();
    if (risposta.size() != 1)
        throw porta.errore_porta_chiusa();
    co_return static_cast<std::uint8_t>(risposta.at(0));
}

Task<bool> scrivi_indirizzo(PortaSeriale& porta, int indirizzo, std::uint8_t valore)
{
    porta.svuota_buffer();
    try {
        porta.invia('W');
        porta.invia(static_cast<std::uint8_t>(indirizzo));
        porta.invia(valore);
    } catch (const ErrorePorta&) {
        co_return false;
    }
    co_return co_await porta.attendi_conferma();
}

Task<bool> scrivi_blocco(Contesto& c, std::span<const std::uint8_t> valori)
{
    auto& finestra = c.finestra;
    finestra.mostra_progresso(true);
    finestra.imposta_massimo_progresso(static_cast<int>(valori.size()) - 1);
    for (std::size_t a = 0; a < valori.size(); ++a) {
        finestra.imposta_progresso(static_cast<int>(a));
        const bool confermata = co_await scrivi_indirizzo(c.porta, static_cast<int>(a), valori[a]);
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

Task<void> rileggi(Contesto& c)
{
    co_await cattura(leggi_parametri(c));
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
