// SPDX-License-Identifier: GPL-3.0-or-later
// The frequency's check, coding and decoding on arbitrary values. Input:
// one band byte, eight bytes of a double, three channel bytes, and the rest
// as a typed frequency text. What must hold:
// - a frequency the check accepts codes into three bytes that travel as
//   they are (0..255, whole, ByteT3 even); for any frequency only ByteT1
//   can leave 0..255;
// - the coded channel lies from 2.5 kHz below the frequency to 10 kHz above;
// - the text that decoding gives is the shortest exact decimal, and reading
//   it back codes to the same channel;
// - any three bytes decode, and their text codes to the channel of ByteT3
//   halved and rounded up: an odd ByteT3 is half a channel, the 10 kHz
//   offset carries it to the next one.

#include "params/blocco.h"
#include "params/frequenza.h"
#include "params/numero.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

using namespace brenk;

[[noreturn]] void fallisce(const char* cosa, double f, const QString& testo = {})
{
    std::fprintf(stderr, "%s: f = %.17g, text \"%s\"\n", cosa, f, testo.toUtf8().constData());
    std::abort();
}

long long canale(const ByteFrequenza& b)
{
    return (b.t1 * 256 + b.t2) * 64 + b.t3 / 2;
}

// Decodes the bytes, checks the text's form, and returns the channel that
// the text codes back to.
long long canale_del_testo(long long t1, long long t2, long long t3, double f)
{
    BloccoParametri blocco;
    for (const auto& [indirizzo, t] : {std::pair{ByteT1, t1}, {ByteT2, t2}, {ByteT3, t3}})
        blocco[indirizzo] = static_cast<double>(t);
    const QString testo = decodifica_frequenza(blocco);
    if (blocco[ByteT3] != static_cast<double>(t3) / 2)
        fallisce("ByteT3 not halved", f, testo);
    static const QRegularExpression forma(QStringLiteral("^(0|[1-9][0-9]*)(\\.[0-9]{0,4}[1-9])?$"));
    if (!forma.match(testo).hasMatch())
        fallisce("decoded text not shortest decimal", f, testo);
    return canale(calcola_byte_frequenza(valore_numerico(testo)));
}

void controlla_valore(double f, double banda)
{
    const ByteFrequenza b = calcola_byte_frequenza(f);
    if (b.t2 < 0 || b.t2 > 255 || b.t3 < 0 || b.t3 > 126 || b.t3 % 2 != 0)
        fallisce("ByteT2/ByteT3 out of range", f);
    if (!controlla_frequenza(f, banda).accettata)
        return;

    BloccoParametri blocco;
    codifica_frequenza(f, blocco);
    for (const int indirizzo : {ByteT1, ByteT2, ByteT3}) {
        const auto byte = codifica_byte(blocco[indirizzo]);
        if (!byte || *byte != blocco[indirizzo])
            fallisce("accepted frequency with a byte that cannot travel", f);
    }
    // The grid value: from 2.5 kHz below f (excluded) to 10 kHz above, give
    // or take the rounding of doubles at this magnitude.
    const double griglia = static_cast<double>(canale(b)) * 0.0125;
    const double margine = 1e-7 + std::abs(f) * 1e-15;
    if (griglia - f > 0.01 + margine || f - griglia > 0.0025 + margine)
        fallisce("channel too far from the frequency", f);
    if (canale_del_testo(b.t1, b.t2, b.t3, f) != canale(b))
        fallisce("decoded text codes to another channel", f);
}

void controlla_byte(const std::array<std::uint8_t, 3>& t)
{
    const long long atteso = (t[0] * 256LL + t[1]) * 64 + (t[2] + 1) / 2;
    if (canale_del_testo(t[0], t[1], t[2], 0) != atteso)
        fallisce("bytes decode to a text of another channel", atteso * 0.0125);
}

template <typename T>
T prendi(const std::uint8_t*& dati, std::size_t& resto)
{
    T valore{};
    const std::size_t n = std::min(sizeof valore, resto);
    std::memcpy(&valore, dati, n);
    dati += n;
    resto -= n;
    return valore;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    // Half the band bytes are a UHF or a VHF transmitter's.
    const auto b = prendi<std::uint8_t>(dati, dimensione);
    const double banda = (b & 3) == 0 ? banda_uhf : (b & 3) == 1 ? banda_vhf : b;
    controlla_valore(prendi<double>(dati, dimensione), banda);
    controlla_byte(prendi<std::array<std::uint8_t, 3>>(dati, dimensione));
    const QString testo = QString::fromLatin1(reinterpret_cast<const char*>(dati), static_cast<qsizetype>(dimensione));
    controlla_valore(valore_numerico(testo), banda);
    return 0;
}
