// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/vista.h"

#include "ops/verifica.h"
#include "params/frequenza.h"
#include "params/numero.h"

#include <cmath>

namespace brenk {

namespace {

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

// The input whose single bit the mask holds; none for any other mask.
std::optional<QString> ingresso_da_maschera(double maschera)
{
    for (int n = 1; n <= 8; ++n)
        if (maschera == (1 << (n - 1)))
            return QString::number(n);
    return std::nullopt;
}

std::optional<bool> coppia_da(double valore)
{
    if (valore != 0 && valore != 1)
        return std::nullopt;
    return valore == 1;
}

QString codice(const BloccoParametri& b)
{
    const long long alto = intero(b[Byt3]);
    return QString::number(b[Zelmbrenk] == 0 ? 256 * alto + intero(b[Byt4]) : 256 * (alto & 3) + intero(b[Byt4]));
}

void ingressi(const BloccoParametri& b, Vista& v)
{
    if (b[Zelmbrenk] == 0) {
        v.testo(Campo::Cmb_n_ing_all) = QString::number((intero(b[Byt6]) & 7) + 1);
        v.testo(Campo::Cmb_N_ing_bat) = QString::number((intero(b[Byte6]) & 7) + 1);
        return;
    }
    v.testo(Campo::Cmb_n_ing_all) = ingresso_da_maschera(b[Byt5]);
    v.testo(Campo::Cmb_N_ing_bat) = ingresso_da_maschera(b[Byte5]);
}

std::optional<QString> banda(const BloccoParametri& b)
{
    if (b[brenkVU] == banda_uhf)
        return QStringLiteral("  UHF");
    if (b[brenkVU] == banda_vhf)
        return QStringLiteral("  VHF");
    return std::nullopt;
}

void metti(const Vista& v, Finestra& f, std::initializer_list<Campo> campi)
{
    for (Campo c : campi)
        if (v.testo(c))
            f.imposta_testo(c, *v.testo(c));
}

Opzione bottone(Coppia c, bool uno)
{
    return static_cast<Opzione>(2 * static_cast<int>(c) + (uno ? 1 : 0));
}

void seleziona(const Vista& v, Finestra& f, Coppia c, bool beep)
{
    if (const auto uno = v.coppie[static_cast<std::size_t>(c)]) {
        f.seleziona(bottone(c, *uno));
        return;
    }
    f.nessuna_scelta(bottone(c, false));
    if (beep)
        f.beep();
}

// The fields a programming writes: named as their address is, but for the
// two that live in the telegrams.
struct CampoProgrammato {
    Campo campo;
    int indirizzo;
    const char* nome = nullptr;
};

const CampoProgrammato campi_programmati[] = {
    {Campo::CodiceBrenk, Byt4, "Codice Brenk"}, {Campo::FqTx, ByteT1},
    {Campo::txb_tmp_rap, tempopre_rap},         {Campo::txb_amp, tempopre_amp},
    {Campo::Cmb_n_ing_all, Byt5, "N° Ing di All"}, {Campo::Cmb_n_tx_tot, ntxtot},
    {Campo::Cmb_tmr_p_all, Filtropre},          {Campo::cmb_Zelmrep, Codicerep},
};

struct CoppiaProgrammata {
    Coppia coppia;
    int indirizzo;
    const char* bottoni[2];
};

const CoppiaProgrammata coppie_programmate[] = {
    {Coppia::Toni, TONIHL, {"Alti", "Bassi"}},
    {Coppia::Ripristino, Ning, {"No", "Si"}},
    {Coppia::Trasmissione, TxSM, {"Sing", "Mult"}},
};

QString nome(const CampoProgrammato& c)
{
    return c.nome ? QString::fromUtf8(c.nome) : nome_indirizzo(c.indirizzo);
}

bool stesso_valore(const QString& a, const QString& b)
{
    return valore_numerico(a) == valore_numerico(b);
}

} // namespace

void memorizza(BloccoParametri& b, const Letti& letti)
{
    for (int a = 0; a < static_cast<int>(letti.size()); ++a)
        if (a != totck && (a < primo_senza_parametro || a > ultimo_senza_parametro))
            b[a] = letti[static_cast<std::size_t>(a)];
}

Vista vista_di(const Letti& letti)
{
    BloccoParametri b;
    memorizza(b, letti);
    return vista_di(b);
}

Vista vista_di(BloccoParametri& b)
{
    Vista v;
    v.testo(Campo::CodiceBrenk) = codice(b);
    v.testo(Campo::FqTx) = decodifica_frequenza(b);
    ingressi(b, v);
    v.testo(Campo::txb_tmp_rap) = cifre(b[tempopre_rap]);
    v.testo(Campo::txb_amp) = cifre(b[tempopre_amp]);
    v.testo(Campo::Cmb_n_tx_tot) = cifre(b[ntxtot]);
    v.testo(Campo::Cmb_tmr_p_all) = cifre(b[Filtropre]);
    v.testo(Campo::cmb_Zelmrep) = cifre(b[Codicerep]);
    v.testo(Campo::Text1) = banda(b);
    v.coppia(Coppia::Toni) = coppia_da(b[TONIHL]);
    v.coppia(Coppia::Ripristino) = coppia_da(b[Ning]);
    v.coppia(Coppia::Trasmissione) = coppia_da(b[TxSM]);
    v.coppia(Coppia::Modo) = coppia_da(b[Zelmbrenk]);
    return v;
}

void mostra_vista(const Vista& v, Finestra& finestra)
{
    metti(v, finestra, {Campo::CodiceBrenk, Campo::FqTx, Campo::Cmb_n_ing_all, Campo::Cmb_N_ing_bat});
    seleziona(v, finestra, Coppia::Toni, true);
    seleziona(v, finestra, Coppia::Trasmissione, true);
    metti(v, finestra, {Campo::txb_tmp_rap, Campo::txb_amp, Campo::Cmb_n_tx_tot});
    seleziona(v, finestra, Coppia::Ripristino, false);
    metti(v, finestra, {Campo::Cmb_tmr_p_all, Campo::cmb_Zelmrep});
    seleziona(v, finestra, Coppia::Modo, true);
    metti(v, finestra, {Campo::Text1});
}

std::optional<QString> coppia_senza_scelta(const Finestra& finestra)
{
    for (const auto& c : coppie_programmate)
        if (!finestra.selezionata(bottone(c.coppia, false)) && !finestra.selezionata(bottone(c.coppia, true)))
            return nome_indirizzo(c.indirizzo);
    return std::nullopt;
}

std::optional<Discordanza> prima_discordanza(const Vista& letta, const Vista& scritta, const Finestra& finestra)
{
    for (const auto& programmato : campi_programmati) {
        const Campo campo = programmato.campo;
        const auto& conterrebbe = scritta.testo(campo);
        const QString mostrato = finestra.testo(campo);
        if (!conterrebbe || stesso_valore(mostrato, *conterrebbe))
            continue;
        const auto& mostrato_letto = letta.testo(campo);
        const bool digitata = campo == Campo::FqTx && !(mostrato_letto && stesso_valore(mostrato, *mostrato_letto));
        if (!digitata)
            return Discordanza{nome(programmato), mostrato, *conterrebbe};
    }
    for (const auto& c : coppie_programmate) {
        const auto conterrebbe = scritta.coppie[static_cast<std::size_t>(c.coppia)];
        const bool mostrato = finestra.selezionata(bottone(c.coppia, true));
        if (conterrebbe && *conterrebbe != mostrato)
            return Discordanza{nome_indirizzo(c.indirizzo), QString::fromUtf8(c.bottoni[mostrato]),
                               QString::fromUtf8(c.bottoni[*conterrebbe])};
    }
    return std::nullopt;
}

} // namespace brenk
