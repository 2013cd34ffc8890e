// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a parameter file, and checks what holds for every
// file the reader takes:
// - each field holds what the table of fields allows it: a typed field's
//   digits up to its maximum (points for the frequency), a chosen field one
//   of its choices, the band one the read shows; or nothing;
// - written out again and read back, it gives the same values, type and read;
// and for every file it refuses, that the reason is a sentence to show.

#include "archivio/file_parametri.h"
#include "params/numero.h"
#include "params/testi.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace brenk;

bool nei_limiti(const SchedaCampo& s, const QString& testo)
{
    static const QRegularExpression cifre(QStringLiteral("^[0-9]*$"));
    static const QRegularExpression frequenza(QStringLiteral("^[0-9.]*$"));
    switch (s.immissione) {
    case Immissione::Cifre:
        return cifre.match(testo).hasMatch() && valore_numerico(testo) <= s.valori.massimo;
    case Immissione::Frequenza:
        return frequenza.match(testo).hasMatch();
    case Immissione::Scelta:
        return testo.isEmpty() || scelte(s).contains(testo);
    case Immissione::Banda:
        return QStringList{QString(), testo_banda_uhf, testo_banda_vhf}.contains(testo);
    }
    return false;
}

[[noreturn]] void fallisce(const char* cosa, const QByteArray& testo)
{
    std::fprintf(stderr, "%s:\n%s\n", cosa, testo.constData());
    std::abort();
}

bool uguali(const FileParametri& a, const FileParametri& b)
{
    return a.valori.campi == b.valori.campi && a.valori.coppie == b.valori.coppie && a.tipo == b.tipo
           && a.letti == b.letti;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t n)
{
    const QByteArray testo(reinterpret_cast<const char*>(dati), static_cast<qsizetype>(n));
    FileParametri letto;
    if (const auto problema = da_json(testo, letto)) {
        if (problema->isEmpty())
            fallisce("refused without a reason", testo);
        return 0;
    }
    for (std::size_t i = 0; i < numero_campi; ++i)
        if (!nei_limiti(schede_campi[i], letto.valori.campi[i]))
            fallisce("a field outside the table's limits", testo);
    FileParametri riletto;
    if (da_json(in_json(letto), riletto) || !uguali(letto, riletto))
        fallisce("written and read back otherwise", testo);
    return 0;
}
