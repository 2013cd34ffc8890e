// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/verifica.h"

#include "ops/testi.h"
#include "params/campi.h"

#include <algorithm>

namespace brenk {

namespace {

// The last address both written and read back: the read stops at 62.
std::size_t ultimo_verificato(std::span<const std::uint8_t> scritti, const Letti& letti)
{
    return std::min(scritti.size(), letti.size()) - 1;
}

} // namespace

std::optional<Differenza> prima_differenza(std::span<const std::uint8_t> scritti, const Letti& letti)
{
    for (std::size_t a = 0; a <= ultimo_verificato(scritti, letti); ++a)
        if (scritti[a] != letti[a])
            return Differenza{static_cast<int>(a), scritti[a], letti[a]};
    return std::nullopt;
}

// The telegrams come first: the code and the input live in them too. The
// frequency's three bytes are named as its first.
QString nome_indirizzo(int indirizzo)
{
    if (indirizzo >= Byt1 && indirizzo <= Byt9)
        return nome_telegramma_allarme;
    if (indirizzo >= Byte1 && indirizzo <= Byte9)
        return nome_telegramma_ripristino;
    if (indirizzo == ByteT2 || indirizzo == ByteT3)
        indirizzo = ByteT1;
    for (const SchedaCampo& s : schede_campi)
        if (s.indirizzo == indirizzo)
            return didascalia(s);
    for (const SchedaCoppia& s : schede_coppie)
        if (s.indirizzo == indirizzo)
            return didascalia(s);
    if (indirizzo == Tipo_brenk)
        return nome_tipo;
    if (indirizzo == totck)
        return nome_somma_di_controllo;
    return nome_per_indirizzo.arg(indirizzo);
}

QString messaggio_verifica(const Differenza& d, const QString& poi)
{
    const QString nome = nome_indirizzo(d.indirizzo);
    const QString dove = nome == nome_per_indirizzo.arg(d.indirizzo) ? nome
                                                                     : nome_con_indirizzo.arg(nome).arg(d.indirizzo);
    return messaggio_verifica_fallita.arg(dove).arg(d.scritto).arg(d.letto).arg(poi);
}

QString conferma_verifica(std::span<const std::uint8_t> scritti, const Letti& letti)
{
    return conferma_verificato.arg(ultimo_verificato(scritti, letti));
}

} // namespace brenk
