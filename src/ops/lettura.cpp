// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/lettura.h"

#include "ops/operazioni.h"
#include "ops/testi.h"
#include "ops/vista.h"
#include "params/telegrammi.h"

namespace brenk {

namespace {

// What no check of a read covers and yet decides something: what may be
// written, what is shown.
constexpr int da_confermare[] = {Tipo_brenk, brenkVU};

bool tipo_nuovo_letto(const Letti& letti)
{
    return letti[Tipo_brenk] == tipo_nuovo;
}

bool checksum_giusto(const Letti& letti)
{
    return checksum_blocco(letti) == letti[totck];
}

// A new-type transmitter vouches for addresses 0 to 36 with its checksum,
// and both types for their radio telegrams with the telegrams' own check
// bytes; an old type needs a second read that agrees.
bool garantita(const Letti& letti)
{
    return tipo_nuovo_letto(letti) && checksum_giusto(letti) && telegrammi_integri(letti);
}

} // namespace

QString tipo_letto(const Letti& letti)
{
    return tipo_nuovo_letto(letti) ? tipo_letto_nuovo : tipo_letto_vecchio;
}

Task<Letti> leggi_blocco(Contesto& c, Conversazione& linea)
{
    auto& finestra = c.finestra;
    linea.ricomincia();
    finestra.mostra_progresso(true);
    finestra.imposta_massimo_progresso(ultimo_letto);
    Letti letti{};
    for (int t = 0; t <= ultimo_letto; ++t) {
        finestra.imposta_progresso(t);
        const std::uint8_t valore = co_await linea.leggi(t);
        letti[static_cast<std::size_t>(t)] = valore;
    }
    finestra.imposta_progresso(0);
    finestra.mostra_progresso(false);
    co_return letti;
}

Task<void> mostra_lettura(Contesto& c, const Letti& letti)
{
    conserva(c.blocco, letti);
    const bool nuovo = tipo_nuovo_letto(letti);
    c.finestra.imposta_tipo(tipo_letto(letti));
    if (nuovo && !checksum_giusto(letti))
        co_await c.messaggio(messaggio_errore_lettura, Icona::Esclamazione);
    if (!telegrammi_integri(letti))
        co_await c.messaggio(messaggio_telegrammi, Icona::Esclamazione);
    mostra_vista(vista_di(letti), c.finestra);
    // Values above 127 would show 128 lower through such a path.
    if (!ottavo_bit_visto(letti))
        c.finestra.mostra_nota(nota_ottavo_bit);
}

// A read that could not be trusted shows nothing: the block and the fields
// keep what they held. A read vouched for by its checks is trusted once the
// type and the band read the same again.
Task<void> leggi_parametri(Contesto& c)
{
    Conversazione linea(c);
    const auto letti = co_await leggi_finche_attendibile(c, linea, garantita, da_confermare);
    if (letti)
        co_await mostra_lettura(c, *letti);
    else
        co_await c.messaggio(messaggio_errore_lettura, Icona::Esclamazione);
}

} // namespace brenk
