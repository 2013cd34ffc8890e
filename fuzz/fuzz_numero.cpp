// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a field's number, as UTF-8, Latin-1 and UTF-16
// text, and checks what holds for every text:
// - the result is a number or an infinity, never NaN;
// - blanks anywhere change nothing, so the text without them reads the same;
// - only ASCII characters can be part of a number, so the text cut at its
//   first other character reads the same;
// - a text made only of digits, signs, points, exponent letters and blanks
//   reads as the C library reads the same text without blanks (D as E), the
//   C library being correctly rounded;
// - "&H" and "&O" numbers small enough to be exact match the C library.

#include "params/numero.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using brenk::valore_numerico;

[[noreturn]] void fallisce(const char* cosa, const QString& testo, double atteso, double letto)
{
    std::fprintf(stderr, "%s: \"%s\" gave %.17g, expected %.17g\n", cosa, testo.toUtf8().constData(), letto, atteso);
    std::abort();
}

QString senza_spazi(QString testo)
{
    return testo.removeIf([](QChar c) { return QStringView(u" \t\n\v\f\r").contains(c); });
}

// Equal as numbers; the infinities compare equal to themselves.
void uguali(const char* cosa, const QString& testo, double atteso, double letto)
{
    if (!(atteso == letto))
        fallisce(cosa, testo, atteso, letto);
}

// The value of a blank-free ASCII text that starts with "&": 0 unless "H" or
// "O" follows, else its digits by strtoull when they fit the 53 bits of a
// double exactly; -1 for any other text and for longer numbers.
double intero_di_riferimento(const std::string& compatto)
{
    if (compatto.empty() || compatto[0] != '&')
        return -1;
    const char lettera = compatto.size() > 1 ? compatto[1] : '\0';
    const bool esadecimale = lettera == 'H' || lettera == 'h';
    if (!esadecimale && lettera != 'O' && lettera != 'o')
        return 0;
    const std::string cifre =
        compatto.substr(2, compatto.substr(2).find_first_not_of(esadecimale ? "0123456789abcdefABCDEF" : "01234567"));
    const std::size_t zeri = cifre.find_first_not_of('0');
    if (zeri != std::string::npos && cifre.size() - zeri > (esadecimale ? 13u : 17u))
        return -1;
    // The digits alone: strtoull would also take a sign or "0x".
    const int base = esadecimale ? 16 : 8;
    return cifre.empty() ? 0.0 : static_cast<double>(std::strtoull(cifre.c_str(), nullptr, base));
}

void controlla_testo(const QString& testo)
{
    const double letto = valore_numerico(testo);
    if (std::isnan(letto))
        fallisce("NaN", testo, 0, letto);

    uguali("blanks", testo, valore_numerico(senza_spazi(testo)), letto);

    const auto fuori = std::find_if(testo.begin(), testo.end(), [](QChar c) { return c.unicode() >= 0x80; });
    const qsizetype fine = fuori - testo.begin();
    uguali("non-ASCII", testo, valore_numerico(QStringView(testo).first(fine)), letto);

    const QString compatto = senza_spazi(testo.first(fine));
    const double intero = intero_di_riferimento(compatto.toStdString());
    if (intero >= 0)
        uguali("&H/&O", testo, intero, letto);
}

// The bytes as a text of the characters a plain decimal number is made of:
// those bytes stay, every other byte picks one of them.
QString testo_decimale(const std::uint8_t* dati, std::size_t dimensione)
{
    static constexpr std::string_view alfabeto = "0123456789.+-eEdD \t";
    QString testo;
    for (std::size_t i = 0; i < dimensione; ++i) {
        const char c = static_cast<char>(dati[i]);
        const bool tiene = alfabeto.find(c) != std::string_view::npos;
        testo.append(QLatin1Char(tiene ? c : alfabeto[dati[i] % alfabeto.size()]));
    }
    return testo;
}

// strtod reads the longest prefix that is a number, as the field does; on
// this alphabet it knows no other forms ("inf", "nan" and "0x" need letters
// that are not there).
void controlla_decimale(const QString& testo)
{
    const std::string c = senza_spazi(testo).replace(QChar(u'd'), QChar(u'e'), Qt::CaseInsensitive).toStdString();
    uguali("decimal", testo, std::strtod(c.c_str(), nullptr), valore_numerico(testo));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione)
{
    const auto* caratteri = reinterpret_cast<const char*>(dati);
    const auto n = static_cast<qsizetype>(dimensione);
    controlla_testo(QString::fromUtf8(caratteri, n));
    controlla_testo(QString::fromLatin1(caratteri, n));
    std::u16string unita(dimensione / 2, u'\0');
    std::memcpy(unita.data(), dati, unita.size() * sizeof(char16_t));
    controlla_testo(QString::fromStdU16String(unita));
    controlla_decimale(testo_decimale(dati, dimensione));
    return 0;
}
