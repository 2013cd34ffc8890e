// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/scambi.h"

#include "ops/lettura.h"
#include "ops/operazioni.h"
#include "ops/verifica.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace brenk {

namespace {

// A doubtful read is read again at once, up to this many reads in all.
constexpr int letture_massime = 3;

} // namespace

void Conversazione::nuova_richiesta()
{
    const bool stantii = porta_.scarta_in_arrivo() > 0;
    disturbata_ = disturbata_ || (iniziata_ && stantii);
    iniziata_ = true;
    porta_.svuota_buffer();
}

void Conversazione::ricomincia()
{
    iniziata_ = false;
    disturbata_ = false;
}

// A transmitter that has not answered for the reply time-out is named
// where the progress bar runs; the wait goes on until "Disconetti". A byte
// too soon for the reply disturbs the read.
Task<QByteArray> Conversazione::risposta(double non_prima_ms)
{
    QByteArray r = co_await porta_.leggi_carattere(non_prima_ms, porta_.timeout());
    const bool anticipata = porta_.anticipati() > 0;
    if (r.isEmpty() && porta_.aperta()) {
        finestra_.mostra_nota(nota_trasmettitore_muto);
        r = co_await porta_.leggi_carattere(non_prima_ms);
        finestra_.mostra_nota({});
    }
    disturbata_ = disturbata_ || anticipata || porta_.anticipati() > 0;
    co_return r;
}

Task<std::uint8_t> Conversazione::leggi(int indirizzo)
{
    nuova_richiesta();
    const double non_prima = porta_.prima_risposta_possibile(2, 1);
    porta_.invia('R');
    porta_.invia(static_cast<std::uint8_t>(indirizzo));
    const double richiesta_sulla_linea = porta_.adesso_ms() + 2 * PortaSeriale::tempo_byte_ms;
    const QByteArray r = co_await risposta(non_prima);
    if (r.size() != 1)
        throw porta_.errore_porta_chiusa();
    risposta_piu_lenta_ms_ = std::max(risposta_piu_lenta_ms_, porta_.adesso_ms() - richiesta_sulla_linea);
    co_return static_cast<std::uint8_t>(r.at(0));
}

Task<bool> Conversazione::scrivi(int indirizzo, std::uint8_t valore)
{
    nuova_richiesta();
    const double non_prima = porta_.prima_risposta_possibile(3, 1);
    porta_.invia('W');
    porta_.invia(static_cast<std::uint8_t>(indirizzo));
    porta_.invia(valore);
    co_return co_await porta_.attendi_conferma(non_prima);
}

int Conversazione::quiete_ms() const
{
    const double quiete = 2 * risposta_piu_lenta_ms_ + PortaSeriale::tempo_byte_ms;
    return std::max(quiete_minima_ms, static_cast<int>(std::ceil(quiete)));
}

Task<void> Conversazione::concludi()
{
    const bool quieta = co_await porta_.attendi_silenzio(quiete_ms());
    disturbata_ = disturbata_ || !quieta;
}

namespace {

// Each of `indirizzi` read once more holds what the read found.
Task<bool> confermati(Conversazione& linea, const Letti& letti, std::span<const int> indirizzi)
{
    bool uguali = true;
    for (const int a : indirizzi) {
        const std::uint8_t valore = co_await linea.leggi(a);
        uguali = uguali && valore == letti[static_cast<std::size_t>(a)];
    }
    co_return uguali;
}

} // namespace

// The confirming reads follow the block at once: one quiet time after the
// last of them proves them all.
Task<std::optional<Letti>> leggi_finche_attendibile(Contesto& c, Conversazione& linea,
                                                    std::function<bool(const Letti&)> si_garantisce,
                                                    std::span<const int> da_confermare)
{
    std::vector<Letti> indisturbate;
    for (int n = 0; n < letture_massime; ++n) {
        const Letti letti = co_await leggi_blocco(c, linea);
        bool confermata = false;
        if (!linea.disturbata() && si_garantisce(letti)) {
            const bool uguali = co_await confermati(linea, letti, da_confermare);
            confermata = uguali;
        }
        co_await linea.concludi();
        if (linea.disturbata())
            continue;
        if (confermata || std::find(indisturbate.begin(), indisturbate.end(), letti) != indisturbate.end())
            co_return letti;
        indisturbate.push_back(letti);
    }
    co_return std::nullopt;
}

namespace {

// Why a write went unconfirmed: the port closed by the operator, which is a
// choice and not a fault, or no "K" in time (the loss of the port is told
// on its own).
QString mancata_conferma(Contesto& c, int confermate)
{
    if (!c.porta.aperta() && c.porta.errore_porta_chiusa().porta_chiusa())
        return messaggio_interrotta_da_disconetti.arg(confermate);
    return messaggio_time_out;
}

} // namespace

Task<bool> scrivi_blocco(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori)
{
    auto& finestra = c.finestra;
    finestra.mostra_progresso(true);
    finestra.imposta_massimo_progresso(static_cast<int>(valori.size()) - 1);
    for (int a = 0; a < static_cast<int>(valori.size()); ++a) {
        finestra.imposta_progresso(a);
        QString errore;
        try {
            c.eventi.scrittura_inviata(a);
            const bool confermata = co_await linea.scrivi(a, valori[static_cast<std::size_t>(a)]);
            if (confermata)
                c.eventi.scrittura_confermata(a);
            else
                errore = mancata_conferma(c, a);
        } catch (const ErrorePorta& e) {
            errore = e.porta_chiusa() ? messaggio_interrotta_da_disconetti.arg(a) : e.testo();
            if (!e.porta_chiusa())
                c.eventi.guasto_porta_detto();
        }
        if (!errore.isEmpty()) {
            co_await c.messaggio(errore, Icona::Esclamazione);
            finestra.mostra_progresso(false);
            co_return false;
        }
    }
    finestra.imposta_progresso(0);
    finestra.mostra_progresso(false);
    co_return true;
}

namespace {

// What the read-back must find: the bytes written, and where nothing was
// written, what the last trusted read found there for the fields the window
// shows (the mode and the values above 33 of an old type, the type, the band).
using Attesi = std::array<std::optional<std::uint8_t>, std::tuple_size_v<Letti>>;

Attesi attesi_dopo(const std::optional<Letti>& ultima, std::span<const std::uint8_t> valori)
{
    Attesi attesi{};
    for (std::size_t a = 0; a < attesi.size() && a < valori.size(); ++a)
        attesi[a] = valori[a];
    for (std::size_t a : {Filtropre, Codicerep, Zelmbrenk, Tipo_brenk, brenkVU})
        if (ultima && a >= valori.size())
            attesi[a] = (*ultima)[a];
    return attesi;
}

bool come_atteso(const Attesi& attesi, const Letti& letti)
{
    for (std::size_t a = 0; a < letti.size(); ++a)
        if (attesi[a] && *attesi[a] != letti[a])
            return false;
    return true;
}

Task<void> rileggi(Contesto& c, Conversazione& linea, Attesi attesi, std::optional<Letti>& letti)
{
    letti = co_await leggi_finche_attendibile(c, linea, [&](const Letti& l) { return come_atteso(attesi, l); });
}

} // namespace

Task<void> rileggi_e_verifica(Contesto& c, Conversazione& linea, std::span<const std::uint8_t> valori,
                              const QString& poi)
{
    std::optional<Letti> letti;
    const auto errore = co_await cattura(rileggi(c, linea, attesi_dopo(c.blocco.letti, valori), letti));
    QString esito;
    if (errore)
        esito = messaggio_verifica_interrotta.arg(poi);
    else if (!letti)
        esito = messaggio_scrittura_disturbata.arg(poi);
    else if (const auto differenza = prima_differenza(valori, *letti))
        esito = messaggio_verifica(*differenza, poi);
    if (!esito.isEmpty()) {
        co_await c.messaggio(esito, Icona::Esclamazione);
        co_return;
    }
    co_await mostra_lettura(c, *letti);
    c.eventi.verificata();
    c.finestra.mostra_conferma(conferma_verifica(valori, *letti));
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
