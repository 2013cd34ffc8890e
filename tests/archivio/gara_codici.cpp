// SPDX-License-Identifier: GPL-3.0-or-later
// One side of a race for a code: "gara_codici ADDRESS SITE CODE" opens the
// record, reserves CODE for a unit as it leaves the factory and concludes the
// programming as written. Exit code 0: it won the code; 1: refused; 2: the
// record could not answer.

#include "archivio/registro_codici.h"
#include "archivio/testi.h"

#include <QCoreApplication>

using namespace brenk;

namespace {

int esito(const std::optional<QString>& problema, int codice)
{
    if (problema)
        qCritical("%s", qPrintable(*problema));
    return problema ? codice : 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 4)
        return esito(QStringLiteral("uso: gara_codici INDIRIZZO SITO CODICE"), 2);
    QString problema;
    const auto registro = RegistroCodici::apri(a[1], a[2], problema);
    if (!registro)
        return esito(problema, 2);
    Valori inviati;
    inviati.testo(Campo::CodiceBrenk) = a[3];
    const UnitaLetta unita{QStringLiteral("Com 1"), QStringLiteral("/dev/ttyUSB0"), QStringLiteral("New"), {}};
    const auto r = registro->riserva(a[3].toInt(), unita, inviati, {});
    if (const auto* p = std::get_if<Prenotazione>(&r))
        return esito(registro->concludi(*p, esito_verificato, true), 2);
    const QString& rifiuto = std::get<QString>(r);
    return esito(rifiuto, rifiuto.startsWith(codice_in_uso.section(u'%', 0, 0)) ? 1 : 2);
}
