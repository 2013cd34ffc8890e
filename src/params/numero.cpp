// SPDX-License-Identifier: GPL-3.0-or-later
#include "params/numero.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace brenk {

namespace {

// Walks the text, passing over blanks, tabs, line breaks and the other ASCII
// spacing characters (form feed, vertical tab) wherever they are.
class Lettore {
public:
    explicit Lettore(QStringView testo) : testo_(testo) {}

    // The next significant character, or NUL at the end of the text.
    char16_t guarda()
    {
        while (pos_ < testo_.size() && spazio(testo_[pos_].unicode()))
            ++pos_;
        return pos_ < testo_.size() ? testo_[pos_].unicode() : u'\0';
    }

    // Takes the next significant character if it is one of `ammessi`.
    bool prendi(std::u16string_view ammessi)
    {
        const char16_t c = guarda();
        if (c == u'\0' || ammessi.find(c) == std::u16string_view::npos)
            return false;
        ++pos_;
        return true;
    }

    // Takes the next significant character if it is a digit of `base`.
    std::optional<int> cifra(int base)
    {
        const int valore = valore_cifra(guarda());
        if (valore >= base)
            return std::nullopt;
        ++pos_;
        return valore;
    }

private:
    static bool spazio(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

    // Only ASCII digits count; anything else is worth more than any base.
    static int valore_cifra(char16_t c)
    {
        if (c >= u'0' && c <= u'9')
            return c - u'0';
        if (c >= u'a' && c <= u'f')
            return c - u'a' + 10;
        if (c >= u'A' && c <= u'F')
            return c - u'A' + 10;
        return 99;
    }

    QStringView testo_;
    qsizetype pos_ = 0;
};

// Takes an optional sign; true for a minus.
bool segno_meno(Lettore& l)
{
    if (l.prendi(u"-"))
        return true;
    l.prendi(u"+");
    return false;
}

double intero_in_base(Lettore& l, int base)
{
    double valore = 0;
    while (const auto c = l.cifra(base))
        valore = valore * base + *c;
    return valore;
}

// The exponent's whole number, held within a bound far beyond any double.
long long esponente(Lettore& l)
{
    constexpr long long limite = 1'000'000'000;
    const bool negativo = segno_meno(l);
    long long valore = 0;
    while (const auto c = l.cifra(10))
        valore = std::min(valore * 10 + *c, limite);
    return negativo ? -valore : valore;
}

// A decimal number as 0.<cifre> times ten to the power `scala`, with the
// leading zeros already dropped from `cifre`.
struct Decimale {
    bool negativo = false;
    std::string cifre;
    long long scala = 0;

    void aggiungi(int c, bool intera)
    {
        if (cifre.empty() && c == 0) {
            if (!intera)
                --scala;
            return;
        }
        cifre.push_back(static_cast<char>('0' + c));
        if (intera)
            ++scala;
    }
};

// The conversion itself is locale-free. Out of range, the magnitude decides:
// a positive power of ten overflowed, a negative one underflowed.
double converti(const Decimale& d)
{
    if (d.cifre.empty())
        return 0;
    const std::string testo = (d.negativo ? "-0." : "0.") + d.cifre + 'e' + std::to_string(d.scala);
    double valore = 0;
    const auto esito = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
    if (esito.ec == std::errc::result_out_of_range) {
        const double infinito = std::numeric_limits<double>::infinity();
        return d.scala > 0 ? (d.negativo ? -infinito : infinito) : 0.0;
    }
    return valore;
}

double decimale(Lettore& l)
{
    Decimale d;
    d.negativo = segno_meno(l);
    while (const auto c = l.cifra(10))
        d.aggiungi(*c, true);
    if (l.prendi(u".")) {
        while (const auto c = l.cifra(10))
            d.aggiungi(*c, false);
    }
    if (l.prendi(u"EeDd"))
        d.scala += esponente(l);
    return converti(d);
}

} // namespace

double valore_numerico(QStringView testo)
{
    Lettore l(testo);
    if (l.prendi(u"&")) {
        if (l.prendi(u"Hh"))
            return intero_in_base(l, 16);
        if (l.prendi(u"Oo"))
            return intero_in_base(l, 8);
        return 0;
    }
    return decimale(l);
}

} // namespace brenk
