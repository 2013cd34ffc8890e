// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/registro.h"

#include "params/campi.h"
#include "params/numero.h"
#include "testi_operatore.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace brenk {

namespace {

QString nel_registro(const QString& percorso, const QString& problema)
{
    return problema_registro.arg(QDir::toNativeSeparators(percorso), problema);
}

QString cella(QString testo)
{
    if (!testo.contains(u',') && !testo.contains(u'"') && !testo.contains(u'\n') && !testo.contains(u'\r'))
        return testo;
    return u'"' + testo.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QByteArray riga_csv(const QStringList& celle)
{
    QStringList testo;
    for (const QString& c : celle)
        testo << cella(c);
    return (testo.join(u',') + QStringLiteral("\r\n")).toUtf8();
}

// The records of a CSV text, quoted cells and line breaks inside them read.
QList<QStringList> righe_csv(const QString& testo)
{
    QList<QStringList> righe{{QString()}};
    bool tra_virgolette = false;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo[i];
        if (tra_virgolette && c == u'"' && i + 1 < testo.size() && testo[i + 1] == u'"')
            righe.last().last() += testo[++i];
        else if (c == u'"')
            tra_virgolette = !tra_virgolette;
        else if (!tra_virgolette && c == u',')
            righe.last() << QString();
        else if (!tra_virgolette && c == u'\n')
            righe << QStringList{QString()};
        else if (tra_virgolette || c != u'\r')
            righe.last().last() += c;
    }
    return righe;
}

} // namespace

QByteArray intestazione_registro()
{
    QStringList celle{colonna_data, colonna_porta, colonna_dispositivo, colonna_tipo, colonna_esito};
    for (const SchedaCampo& s : schede_campi)
        celle << QString::fromUtf8(s.didascalia);
    for (const SchedaCoppia& s : schede_coppie)
        celle << QString::fromUtf8(s.didascalia);
    return riga_csv(celle);
}

QByteArray in_csv(const RigaRegistro& r)
{
    QDateTime quando = r.quando;
    quando.setOffsetFromUtc(quando.offsetFromUtc()); // written out, even when it is 0
    QStringList celle{quando.toString(Qt::ISODate), r.porta, r.dispositivo, r.tipo, r.esito};
    for (const QString& testo : r.valori.campi)
        celle << testo;
    for (std::size_t i = 0; i < numero_coppie; ++i)
        celle << parola_coppia(i, r.valori.coppie[i]);
    return riga_csv(celle);
}

// One write of the whole line, on a file opened for appending: the system
// puts it at the end as one piece, whoever else appends.
std::optional<QString> annota(const QString& percorso, const RigaRegistro& riga)
{
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return nel_registro(percorso, file.errorString());
    const QByteArray testo = (file.size() == 0 ? intestazione_registro() : QByteArray()) + in_csv(riga);
    if (file.write(testo) != testo.size())
        return nel_registro(percorso, riga_non_scritta.arg(file.errorString()));
    return std::nullopt;
}

std::optional<QString> codici_verificati(const QString& percorso, QSet<int>& codici)
{
    QFile file(percorso);
    if (!file.exists() || file.size() == 0)
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        return nel_registro(percorso, file.errorString());
    const QList<QStringList> righe = righe_csv(QString::fromUtf8(file.readAll()));
    const qsizetype esito = righe.first().indexOf(colonna_esito);
    const qsizetype codice = righe.first().indexOf(QString::fromUtf8(schede_campi[0].didascalia));
    if (esito < 0 || codice < 0)
        return nel_registro(percorso, non_un_registro);
    for (const QStringList& r : righe)
        if (r.size() > std::max(esito, codice) && r[esito] == esito_verificato)
            codici.insert(static_cast<int>(valore_numerico(r[codice])));
    return std::nullopt;
}

} // namespace brenk
