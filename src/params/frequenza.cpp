// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/frequenza.h"

#include "params/campi.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace brenk {

namespace {

constexpr double passo_mhz = 0.0125;
// The first channel whose ByteT1 no longer fits in a byte: 256 * 256 * 64.
constexpr long long canali_codificabili = 4194304;
// Beyond 2^53 a double carries no channel precision; the bound also keeps the
// conversion to a whole number defined for any value.
constexpr double canale_limite = 9007199254740992.0;

bool compreso(double f, Intervallo i)
{
    return f >= i.minimo && f <= i.massimo;
}

// The channel number of `f`. NaN and values beyond the bound are held at the
// bound, so that they give bytes that cannot be sent.
long long numero_canale(double f)
{
    const double canale = std::floor((f + 0.01) / passo_mhz + 0.000001);
    if (std::isnan(canale))
        return static_cast<long long>(-canale_limite);
    return static_cast<long long>(std::clamp(canale, -canale_limite, canale_limite));
}

// Whether the three bytes of `f` all fit in 0..255.
bool codificabile(double f)
{
    const long long canale = numero_canale(f);
    return canale >= 0 && canale < canali_codificabili;
}

// Division rounding down, so that the remainder is never negative.
long long quoziente_inferiore(long long dividendo, long long divisore)
{
    const long long q = dividendo / divisore;
    return (dividendo % divisore < 0) ? q - 1 : q;
}

// The exact decimal text of `numeratore` / 100000, shortest form.
QString decimale_esatto(long long numeratore)
{
    constexpr long long scala = 100000;
    const long long intero = numeratore / scala;
    const long long frazione = std::abs(numeratore % scala);
    QString testo = (numeratore < 0 && intero == 0) ? QStringLiteral("-0") : QString::number(intero);
    if (frazione == 0)
        return testo;
    QString cifre = QString::number(frazione).rightJustified(5, QLatin1Char('0'));
    while (cifre.endsWith(QLatin1Char('0')))
        cifre.chop(1);
    return testo + QLatin1Char('.') + cifre;
}

} // namespace

ControlloFrequenza controlla_frequenza(double f, double banda)
{
    ControlloFrequenza esito;
    esito.avviso_range = !compreso(f, frequenze_vhf.tx) && !compreso(f, frequenze_uhf.tx);
    if (banda == banda_uhf)
        esito.accettata = compreso(f, frequenze_uhf.limiti);
    else if (banda == banda_vhf)
        esito.accettata = compreso(f, frequenze_vhf.limiti);
    else
        esito.accettata = codificabile(f);
    return esito;
}

ByteFrequenza calcola_byte_frequenza(double f)
{
    const long long canale = numero_canale(f);
    const long long b = quoziente_inferiore(canale, 64);
    const long long t1 = quoziente_inferiore(b, 256);
    return {t1, b - 256 * t1, 2 * (canale - 64 * b)};
}

void codifica_frequenza(double f, BloccoParametri& blocco)
{
    const ByteFrequenza byte = calcola_byte_frequenza(f);
    blocco[ByteT1] = static_cast<double>(byte.t1);
    blocco[ByteT2] = static_cast<double>(byte.t2);
    blocco[ByteT3] = static_cast<double>(byte.t3);
}

QString decodifica_frequenza(BloccoParametri& blocco)
{
    blocco[ByteT3] /= 2;
    // Twice the channel number, whole for whole bytes; the text is 2N * 625 / 10^5.
    const double doppio = (blocco[ByteT1] * 256 + blocco[ByteT2]) * 128 + blocco[ByteT3] * 2;
    if (std::trunc(doppio) == doppio && std::abs(doppio) < canale_limite)
        return decimale_esatto(static_cast<long long>(doppio) * 625);
    return QString::number(doppio * passo_mhz / 2, 'f', QLocale::FloatingPointShortest);
}

} // namespace brenk
