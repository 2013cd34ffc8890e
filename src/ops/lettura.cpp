// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/operazioni.h"
#include "ops/scambi.h"
#include "params/frequenza.h"

#include <cmath>

namespace brenk {

namespace {

constexpr int ultimo_letto = 62;
constexpr int primo_senza_parametro = 37;
constexpr int ultimo_senza_parametro = 59;

long long intero(double valore)
{
    return std::isfinite(valore) ? static_cast<long long>(valore) : 0;
}

QString cifre(double valore)
{
    return QString::number(intero(valore));
}

// The input whose single bit the mask holds, or 0 for any other mask.
int ingresso_da_maschera(double maschera)
{
    for (int n = 1; n <= 8; ++n)
        if (maschera == (1 << (n - 1)))
            return n;
    return 0;
}

// Selects the button of a pair for 0 or 1; any other value is not selectable.
bool seleziona_coppia(Finestra& finestra, double valore, Opzione per_zero, Opzione per_uno)
{
    if (valore != 0 && valore != 1)
        return false;
    finestra.seleziona(valore == 0 ? per_zero : per_uno);
    return true;
}

void mostra_codice(const BloccoParametri& b, Finestra& finestra)
{
    const long long alto = intero(b[Byt3]);
    const long long codice = b[Zelmbrenk] == 0 ? 256 * alto + intero(b[Byt4])
                                               : 256 * (alto & 3) + intero(b[Byt4]);
    finestra.imposta_testo(Campo::CodiceBrenk, QString::number(codice));
}

void mostra_ingressi(const BloccoParametri& b, Finestra& finestra)
{
    if (b[Zelmbrenk] == 0) {
        finestra.imposta_testo(Campo::Cmb_n_ing_all, QString::number((intero(b[Byt6]) & 7) + 1));
        finestra.imposta_testo(Campo::Cmb_N_ing_bat, QString::number((intero(b[Byte6]) & 7) + 1));
        return;
    }
    if (const int ingresso = ingresso_da_maschera(b[Byt5]))
        finestra.imposta_testo(Campo::Cmb_n_ing_all, QString::number(ingresso));
    if (const int ingresso = ingresso_da_maschera(b[Byte5]))
        finestra.imposta_testo(Campo::Cmb_N_ing_bat, QString::number(ingresso));
}

void mostra_banda(const BloccoParametri& b, Finestra& finestra)
{
    if (b[brenkVU] == banda_uhf)
        finestra.imposta_testo(Campo::Text1, QStringLiteral("  UHF"));
    else if (b[brenkVU] == banda_vhf)
        finestra.imposta_testo(Campo::Text1, QStringLiteral("  VHF"));
}

// Puts the block into the fields, in the order the operator sees them change.
void mostra_parametri(BloccoParametri& b, Finestra& finestra)
{
    mostra_codice(b, finestra);
    finestra.imposta_testo(Campo::FqTx, decodifica_frequenza(b));
    mostra_ingressi(b, finestra);
    if (!seleziona_coppia(finestra, b[TONIHL], Opzione::Opt_toni_alti, Opzione::Opt_toni_bassi))
        finestra.beep();
    if (!seleziona_coppia(finestra, b[TxSM], Opzione::Opt_tx_sing, Opzione::Opt_tx_mult))
        finestra.beep();
    finestra.imposta_testo(Campo::txb_tmp_rap, cifre(b[tempopre_rap]));
    finestra.imposta_testo(Campo::txb_amp, cifre(b[tempopre_amp]));
    finestra.imposta_testo(Campo::Cmb_n_tx_tot, cifre(b[ntxtot]));
    seleziona_coppia(finestra, b[Ning], Opzione::Opt_bat_no, Opzione::Opt_bat_si);
    finestra.imposta_testo(Campo::Cmb_tmr_p_all, cifre(b[Filtropre]));
    finestra.imposta_testo(Campo::cmb_Zelmrep, cifre(b[Codicerep]));
    if (!seleziona_coppia(finestra, b[Zelmbrenk], Opzione::opt_brenk, Opzione::Opt_zelm))
        finestra.beep();
    mostra_banda(b, finestra);
}

// Where a reply goes: the parameters and the type and band are kept, 37 to 59
// are awaited and dropped, the stored checksum is only compared.
void memorizza(BloccoParametri& b, const Letti& letti)
{
    for (int a = 0; a <= ultimo_letto; ++a)
        if (a != totck && (a < primo_senza_parametro || a > ultimo_senza_parametro))
            b[a] = letti[static_cast<std::size_t>(a)];
}

bool tipo_nuovo_letto(const Letti& letti)
{
    return letti[Tipo_brenk] == tipo_nuovo;
}

bool checksum_giusto(const Letti& letti)
{
    BloccoParametri b;
    memorizza(b, letti);
    calcola_totck(b);
    return b[totck] == letti[totck];
}

// A new-type transmitter vouches for addresses 0 to 36 with its checksum;
// an old type vouches for nothing.
bool garantita(const Letti& letti)
{
    return tipo_nuovo_letto(letti) && checksum_giusto(letti);
}

} // namespace

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
    co_await linea.concludi();
    co_return letti;
}

Task<void> mostra_lettura(Contesto& c, const Letti& letti)
{
    memorizza(c.blocco, letti);
    c.blocco.letto = true;
    const bool nuovo = tipo_nuovo_letto(letti);
    c.finestra.imposta_tipo(nuovo ? QStringLiteral("New") : QStringLiteral("Old"));
    if (nuovo) {
        calcola_totck(c.blocco);
        if (c.blocco[totck] != letti[totck])
            co_await c.finestra.messaggio(messaggio_errore_lettura, Icona::Esclamazione);
    }
    mostra_parametri(c.blocco, c.finestra);
}

// A read that could not be trusted shows nothing: the block and the fields
// keep what they held.
Task<void> leggi_parametri(Contesto& c)
{
    Conversazione linea(c.porta);
    const auto letti = co_await leggi_finche_attendibile(c, linea, garantita);
    if (letti)
        co_await mostra_lettura(c, *letti);
    else
        co_await c.finestra.messaggio(messaggio_errore_lettura, Icona::Esclamazione);
}

} // namespace brenk
