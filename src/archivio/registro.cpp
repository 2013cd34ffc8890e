// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/registro.h"

#include "archivio/disco.h"
#include "archivio/testi.h"
#include "params/numero.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace brenk {

namespace {

QString nel_registro(const QString& percorso, const QString& problema)
{
    return problema_registro.arg(QDir::toNativeSeparators(percorso), problema);
}

// A cell starting with one of these is a formula to a spreadsheet.
bool come_formula(const QString& testo)
{
    return !testo.isEmpty() && QStringView(u"=+-@\t").contains(testo.front());
}

QString cella(QString testo)
{
    testo.replace(u'\r', u' ').replace(u'\n', u' ');
    if (come_formula(testo))
        testo.prepend(u'\'');
    if (!testo.contains(u',') && !testo.contains(u'"'))
        return testo;
    return u'"' + testo.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// The cells of one line; none when its quotes do not close.
std::optional<QStringList> celle_csv(QStringView riga)
{
    QStringList celle{QString()};
    bool tra_virgolette = false;
    for (qsizetype i = 0; i < riga.size(); ++i) {
        const QChar c = riga[i];
        if (tra_virgolette && c == u'"' && i + 1 < riga.size() && riga[i + 1] == u'"')
            celle.last() += riga[++i];
        else if (c == u'"')
            tra_virgolette = !tra_virgolette;
        else if (!tra_virgolette && c == u',')
            celle << QString();
        else
            celle.last() += c;
    }
    if (tra_virgolette)
        return std::nullopt;
    return celle;
}

// The record's lines, each as its cells, the header first; the message when
// it cannot be read or does not begin with our header.
std::optional<QString> leggi(const QString& percorso, QList<QStringList>& righe)
{
    if (const auto problema = non_da_leggere(percorso, dimensione_massima_registro, registro_troppo_grande))
        return problema;
    QFile file(percorso);
    if (!file.exists() || file.size() == 0)
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly))
        return motivo(file);
    for (const QByteArray& riga : file.readAll().split('\n')) {
        if (const auto celle = celle_csv(QString::fromUtf8(riga).chopped(riga.endsWith('\r') ? 1 : 0)))
            righe << *celle;
    }
    if (righe.isEmpty() || righe.first() != colonne_registro())
        return non_un_registro;
    return std::nullopt;
}

} // namespace

QByteArray linea_csv(const QStringList& celle)
{
    QStringList testo;
    for (const QString& c : celle)
        testo << cella(c);
    return (testo.join(u',') + QStringLiteral("\r\n")).toUtf8();
}

QStringList colonne_registro()
{
    QStringList celle{colonna_data, colonna_porta, colonna_dispositivo,
                      colonna_tipo, colonna_esito, colonna_codice_scritto};
    for (const SchedaCampo& s : schede_campi)
        celle << didascalia(s);
    for (const SchedaCoppia& s : schede_coppie)
        celle << didascalia(s);
    return celle;
}

QByteArray intestazione_registro()
{
    return linea_csv(colonne_registro());
}

QStringList celle_registro(const RigaRegistro& r)
{
    QDateTime quando = r.quando;
    quando.setOffsetFromUtc(quando.offsetFromUtc()); // written out, even when it is 0
    QStringList celle{quando.toString(Qt::ISODate),
                      r.porta,
                      r.dispositivo,
                      r.tipo,
                      r.esito,
                      r.codice_scritto ? parola_si : parola_no};
    celle << QStringList(r.valori.campi.begin(), r.valori.campi.end());
    for (std::size_t i = 0; i < numero_coppie; ++i)
        celle << parola_coppia(schede_coppie[i], r.valori.coppie[i]);
    return celle;
}

QByteArray in_csv(const RigaRegistro& r)
{
    return linea_csv(celle_registro(r));
}

// One write of the whole line, on a file opened for appending: the system
// puts it at the end as one piece, whoever else appends. A write cut short
// (a full disk) is taken back, so that no torn line stays.
std::optional<QString> annota(const QString& percorso, const RigaRegistro& riga)
{
    QList<QStringList> righe;
    if (const auto problema = leggi(percorso, righe))
        return nel_registro(percorso, *problema);
    QFile file(percorso);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return nel_registro(percorso, motivo(file));
    const qint64 prima = file.size();
    const QByteArray testo = (prima == 0 ? intestazione_registro() : QByteArray()) + in_csv(riga);
    if (file.write(testo) == testo.size())
        return std::nullopt;
    const QString perche = motivo(file);
    file.resize(prima);
    return nel_registro(percorso, riga_non_scritta.arg(perche));
}

std::optional<QString> codici_scritti(const QString& percorso, QSet<int>& codici)
{
    QList<QStringList> righe;
    if (const auto problema = leggi(percorso, righe))
        return nel_registro(percorso, *problema);
    const QStringList colonne = colonne_registro();
    const qsizetype scritto = colonne.indexOf(colonna_codice_scritto);
    const qsizetype codice = colonne.indexOf(didascalia(scheda(Campo::CodiceBrenk)));
    for (const QStringList& r : std::as_const(righe)) {
        if (r.size() == colonne.size() && r[scritto] == parola_si)
            codici.insert(static_cast<int>(valore_numerico(r[codice])));
    }
    return std::nullopt;
}

} // namespace brenk
