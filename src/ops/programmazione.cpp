// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/controllo_scrittura.h"
#include "ops/operazioni.h"
#include "ops/scambi.h"
#include "ops/testi.h"
#include "ops/verifica.h"
#include "params/frequenza.h"
#include "params/numero.h"
#include "params/telegrammi.h"

#include <array>

namespace brenk {

namespace {

// What the programming writes at addresses 0 to 61.
using Scritture = std::array<std::uint8_t, ultimo_scritto_tipo_nuovo + 1>;

// The field to blame when a value cannot travel as a byte.
struct Rifiuto {
    QString campo;
    QString intervallo;
};

QString messaggio_rifiuto(const Rifiuto& r)
{
    return messaggio_valore_fuori_range.arg(r.campo, r.intervallo);
}

double numero(const Finestra& finestra, Campo campo)
{
    return valore_numerico(finestra.testo(campo));
}

// Where a value of the block comes from, as the operator knows it.
Rifiuto origine(int indirizzo)
{
    return {nome_indirizzo(indirizzo), intervallo_byte};
}

Rifiuto fuori_dalla_scheda(Campo campo)
{
    return {didascalia(scheda(campo)), testo_intervallo(scheda(campo).valori)};
}

// Both radio telegrams from the code, the tones, the repeater and the input.
std::optional<Rifiuto> calcola_telegrammi(Contesto& c, double codice)
{
    const Finestra& f = c.finestra;
    const SceltaTelegrammi scelta{codice, f.selezionata(Opzione::Opt_toni_alti), numero(f, Campo::cmb_Zelmrep),
                                  numero(f, Campo::Cmb_n_ing_all)};
    if (const auto campo = codifica_telegrammi(scelta, c.blocco))
        return fuori_dalla_scheda(*campo);
    return std::nullopt;
}

void prendi_campi(Contesto& c)
{
    for (const SchedaCampo& s : schede_campi)
        if (s.diretto)
            c.blocco[s.indirizzo] = numero(c.finestra, s.campo);
}

// The bytes for addresses 0 to 61: the block, with the fixed values and the
// checksum over what addresses 0 to 36 really receive.
std::optional<Rifiuto> componi(BloccoParametri& b, Scritture& s)
{
    for (int a = 0; a <= Zelmbrenk; ++a) {
        const auto byte = codifica_byte(b[a]);
        if (!byte)
            return origine(a);
        s[static_cast<std::size_t>(a)] = *byte;
    }
    s[ncicli] = 2;
    s[Byt12] = 3;
    s[Zelmbrenk] = 1;
    std::fill(s.begin() + primo_senza_parametro, s.begin() + ultimo_senza_parametro + 1, std::uint8_t{0});
    s[Tipo_brenk] = static_cast<std::uint8_t>(tipo_nuovo);
    b[totck] = checksum_blocco(s);
    s[totck] = static_cast<std::uint8_t>(b[totck]);
    return std::nullopt;
}

// Frequency and code tests, then everything the window gives the block.
// False when the programming must stop (its message has been shown).
Task<bool> prepara(Contesto& c, Scritture& scritture)
{
    Finestra& f = c.finestra;
    const double FEe = numero(f, Campo::FqTx);
    const ControlloFrequenza controllo = controlla_frequenza(FEe, c.blocco[brenkVU]);
    if (controllo.avviso_range)
        co_await f.messaggio(messaggio_fuori_range, Icona::Esclamazione);
    if (!controllo.accettata) {
        co_await f.messaggio(messaggio_fuori_banda, Icona::Esclamazione);
        co_return false;
    }
    codifica_frequenza(FEe, c.blocco);
    const double codice = numero(f, Campo::CodiceBrenk);
    const Intervallo codici = scheda(Campo::CodiceBrenk).valori;
    if (!(codice >= codici.minimo && codice <= codici.massimo)) {
        co_await f.messaggio(messaggio_codice, Icona::Esclamazione);
        co_return false;
    }
    auto rifiuto = calcola_telegrammi(c, codice);
    if (!rifiuto) {
        prendi_campi(c);
        rifiuto = componi(c.blocco, scritture);
    }
    if (rifiuto)
        co_await f.messaggio(messaggio_rifiuto(*rifiuto), Icona::Esclamazione);
    co_return !rifiuto;
}

// The transmitter, once `valori` are written over the trusted read, must
// read back as the window shows it, field by field; otherwise the operator
// is told which field, and nothing is written.
Task<bool> nulla_cambia_di_nascosto(Contesto& c, std::span<const std::uint8_t> valori)
{
    Letti dopo = *c.blocco.letti;
    std::copy(valori.begin(), valori.end(), dopo.begin());
    const auto d = prima_discordanza(vista_di(*c.blocco.letti), vista_di(dopo), c.finestra);
    if (d)
        co_await c.messaggio(messaggio_discordanza.arg(d->campo, d->mostrato, d->conterrebbe), Icona::Esclamazione);
    co_return !d;
}

// Every check before the first write, each with its message, then the
// session's consent to the code: the bytes to write, none when refused.
Task<std::span<const std::uint8_t>> da_scrivere(Contesto& c, Scritture& scritture)
{
    // Without a trusted read the block may hold values the transmitter never
    // gave, the hidden ones included.
    if (!c.blocco.letti) {
        co_await c.messaggio(messaggio_senza_lettura, Icona::Esclamazione);
        co_return {};
    }
    // A pair the operator has not chosen would write what the read found.
    if (const auto coppia = coppia_senza_scelta(c.finestra)) {
        co_await c.messaggio(messaggio_senza_scelta.arg(*coppia), Icona::Esclamazione);
        co_return {};
    }
    const auto ultimo = c.blocco[Tipo_brenk] == tipo_nuovo ? ultimo_scritto_tipo_nuovo : ultimo_scritto_tipo_vecchio;
    if (const auto fuori = scelta_fuori_lista(c.finestra, ultimo)) {
        co_await c.messaggio(*fuori, Icona::Esclamazione);
        co_return {};
    }
    const bool pronta = co_await prepara(c, scritture);
    if (!pronta)
        co_return {};
    const auto valori = std::span<const std::uint8_t>(scritture).first(static_cast<std::size_t>(ultimo) + 1);
    const bool fedele = co_await nulla_cambia_di_nascosto(c, valori);
    if (!fedele)
        co_return {};
    if (const auto rifiuto = c.eventi.programmazione_al_via(valori)) {
        co_await c.messaggio(*rifiuto, Icona::Esclamazione);
        co_return {};
    }
    co_return valori;
}

} // namespace

// A writing that is not verified leaves the operator's values in the window
// and the block, for "Programma" to write them again.
Task<void> programma(Contesto& c)
{
    c.finestra.mostra_conferma({});
    c.fleg = 1;
    Scritture scritture{};
    const auto valori = co_await da_scrivere(c, scritture);
    if (!valori.empty()) {
        Conversazione linea(c);
        const bool scritta = co_await scrivi_blocco(c, linea, valori);
        if (scritta)
            co_await rileggi_e_verifica(c, linea, valori, ripetere_dai_campi);
    }
    c.finestra.mostra_progresso(false);
    c.fleg = 0;
}

} // namespace brenk
