// SPDX-License-Identifier: GPL-3.0-or-later
#include "ops/verifica.h"

#include "params/blocco.h"

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

QString nome_indirizzo(int indirizzo)
{
    switch (indirizzo) {
    case tempopre_rap: return QStringLiteral("Timer per rapina");
    case tempopre_amp: return QStringLiteral("Timer Antiatterramento");
    case ntxtot: return QStringLiteral("N° di Tx Tot");
    case TONIHL: return QStringLiteral("Toni H/L");
    case Ning: return QStringLiteral("Ripristino Ing di Allarme");
    case TxSM: return QStringLiteral("TX Sing/Mult");
    case ByteT1: case ByteT2: case ByteT3: return QStringLiteral("Freq Tx Mhz");
    case Filtropre: return QStringLiteral("Filtro P. All");
    case Codicerep: return QStringLiteral("Cod Rep");
    case Zelmbrenk: return QStringLiteral("Zelm/Brenk");
    case Tipo_brenk: return QStringLiteral("tipo New/Old");
    case totck: return QStringLiteral("somma di controllo");
    case brenkVU: return QStringLiteral("Banda");
    default: break;
    }
    if (indirizzo >= Byt1 && indirizzo <= Byt9)
        return QStringLiteral("telegramma di allarme");
    if (indirizzo >= Byte1 && indirizzo <= Byte9)
        return QStringLiteral("telegramma di ripristino");
    return QStringLiteral("indirizzo %1").arg(indirizzo);
}

QString messaggio_verifica(const Differenza& d, const QString& poi)
{
    const QString nome = nome_indirizzo(d.indirizzo);
    const QString dove = nome.startsWith(QStringLiteral("indirizzo "))
        ? nome
        : QStringLiteral("\"%1\" (indirizzo %2)").arg(nome).arg(d.indirizzo);
    return QStringLiteral("Verifica fallita: %1 scritto %2, letto %3. %4")
        .arg(dove).arg(d.scritto).arg(d.letto).arg(poi);
}

QString conferma_verifica(std::span<const std::uint8_t> scritti, const Letti& letti)
{
    return QStringLiteral("Verificato: gli indirizzi 0 - %1 contengono i valori scritti")
        .arg(ultimo_verificato(scritti, letti));
}

} // namespace brenk
