// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/vista.h"

#include "params/frequenza.h"
#include "params/telegrammi.h"
#include "params/testi.h"

#include <algorithm>
#include <cmath>

namespace brenk {

namespace {

long long intero(double valore)
{
    return std::isfinite(valore) ? static_cast<long long>(valore) : 0;
}

QString cifre(double valore)
{
    return QString::number(intero(valore));
}

std::optional<QString> testo_ingresso(std::optional<int> ingresso)
{
    return ingresso ? std::optional(QString::number(*ingresso)) : std::nullopt;
}

std::optional<bool> coppia_da(double valore)
{
    if (valore != 0 && valore != 1)
        return std::nullopt;
    return valore == 1;
}

std::optional<QString> banda(const BloccoParametri& b)
{
    if (b[brenkVU] == banda_uhf)
        return testo_banda_uhf;
    if (b[brenkVU] == banda_vhf)
        return testo_banda_vhf;
    return std::nullopt;
}

void metti(const Vista& v, Finestra& f, std::initializer_list<Campo> campi)
{
    for (Campo c : campi)
        if (v.testo(c))
            f.imposta_testo(c, *v.testo(c));
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

// The block as `letti` hold it, every address as its byte.
BloccoParametri blocco_di(const Letti& letti)
{
    BloccoParametri b;
    std::copy(letti.begin(), letti.end(), b.valori.begin());
    return b;
}

} // namespace

void conserva(BloccoParametri& b, const Letti& letti)
{
    for (int a = 0; a < static_cast<int>(letti.size()); ++a)
        if (a != totck && (a < primo_senza_parametro || a > ultimo_senza_parametro))
            b[a] = letti[static_cast<std::size_t>(a)];
    if (letti[Tipo_brenk] == tipo_nuovo)
        calcola_totck(b);
    b[ByteT3] /= 2;
    b.letti = letti;
}

Vista vista_di(const Letti& letti)
{
    BloccoParametri b = blocco_di(letti);
    Vista v;
    v.testo(Campo::CodiceBrenk) = QString::number(codice_dei_telegrammi(letti));
    v.testo(Campo::FqTx) = decodifica_frequenza(b);
    v.testo(Campo::Cmb_n_ing_all) = testo_ingresso(ingresso_del_telegramma(letti, Byt1));
    v.testo(Campo::Cmb_N_ing_bat) = testo_ingresso(ingresso_del_telegramma(letti, Byte1));
    for (const SchedaCampo& s : schede_campi)
        if (s.diretto)
            v.testo(s.campo) = cifre(b[s.indirizzo]);
    v.testo(Campo::Text1) = banda(b);
    for (const SchedaCoppia& s : schede_coppie)
        v.coppia(s.coppia) = coppia_da(b[s.indirizzo]);
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

} // namespace brenk
