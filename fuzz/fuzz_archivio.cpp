// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a parameter file, and checks what holds for every
// file the reader takes:
// - each field holds a value the window's entry checks let through;
// - written out again and read back, it gives the same values, type and read;
// and for every file it refuses, that the reason is a sentence to show.

#include "archivio/file_parametri.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace brenk;

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
        if (problema_campo(i, letto.valori.campi[i]))
            fallisce("a field the reader should have refused", testo);
    FileParametri riletto;
    if (da_json(in_json(letto), riletto) || !uguali(letto, riletto))
        fallisce("written and read back otherwise", testo);
    return 0;
}
