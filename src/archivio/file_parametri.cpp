// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/file_parametri.h"

#include "archivio/disco.h"
#include "archivio/testi.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSaveFile>

namespace brenk {

namespace {

const QString nome_formato = QStringLiteral("brenk-zelm parametri");

QString nel_file(const QString& quale, const QString& percorso, const QString& problema)
{
    return problema_file.arg(quale, QDir::toNativeSeparators(percorso), problema);
}

QJsonObject campi_in_json(const Valori& v)
{
    QJsonObject campi;
    for (std::size_t i = 0; i < numero_campi; ++i)
        campi.insert(QLatin1String(schede_campi[i].chiave), testo_in_file(schede_campi[i], v.campi[i]));
    return campi;
}

QJsonObject coppie_in_json(const Valori& v)
{
    QJsonObject coppie;
    for (std::size_t i = 0; i < numero_coppie; ++i) {
        const QString parola = parola_coppia(schede_coppie[i], v.coppie[i]);
        coppie.insert(QLatin1String(schede_coppie[i].chiave), parola.isEmpty() ? QJsonValue() : QJsonValue(parola));
    }
    return coppie;
}

// A text as it is; a number as its shortest decimal text, as a person
// writes it (500, 433.925); nothing for anything else.
std::optional<QString> testo_json(const QJsonValue& valore)
{
    if (valore.isString())
        return valore.toString();
    if (valore.isDouble())
        return QString::number(valore.toDouble(), 'g', QLocale::FloatingPointShortest);
    return std::nullopt;
}

std::optional<QString> campi_da_json(const QJsonObject& campi, Valori& v)
{
    for (std::size_t i = 0; i < numero_campi; ++i) {
        const SchedaCampo& s = schede_campi[i];
        const auto testo = testo_json(campi.value(QLatin1String(s.chiave)));
        if (!testo)
            return manca_valore.arg(didascalia(s));
        const QString nel_campo = testo_da_file(s, *testo);
        if (const auto problema = problema_campo(s, nel_campo))
            return problema;
        v.campi[i] = nel_campo;
    }
    return std::nullopt;
}

std::optional<QString> coppie_da_json(const QJsonObject& coppie, Valori& v)
{
    for (std::size_t i = 0; i < numero_coppie; ++i) {
        const SchedaCoppia& s = schede_coppie[i];
        const QJsonValue valore = coppie.value(QLatin1String(s.chiave));
        const QString parola = valore.toString();
        if (valore.isNull()) {
            v.coppie[i].reset();
        } else if (parola == QLatin1String(s.parole[0]) || parola == QLatin1String(s.parole[1])) {
            v.coppie[i] = parola == QLatin1String(s.parole[1]);
        } else {
            return valore_non_valido.arg(didascalia(s));
        }
    }
    return std::nullopt;
}

std::optional<QString> letti_da_json(const QJsonValue& valore, std::optional<Letti>& letti)
{
    letti.reset();
    if (valore.isUndefined())
        return std::nullopt;
    const QByteArray esadecimale = valore.toString().toLatin1().toLower();
    const QByteArray byte = QByteArray::fromHex(esadecimale);
    if (byte.size() != static_cast<qsizetype>(Letti{}.size()) || byte.toHex() != esadecimale)
        return lettura_non_valida;
    letti.emplace();
    std::copy(byte.begin(), byte.end(), letti->begin());
    return std::nullopt;
}

} // namespace

QByteArray in_json(const FileParametri& p)
{
    QJsonObject radice{{QStringLiteral("formato"), nome_formato},
                       {QStringLiteral("versione"), versione_file_parametri},
                       {QStringLiteral("campi"), campi_in_json(p.valori)},
                       {QStringLiteral("opzioni"), coppie_in_json(p.valori)},
                       {QStringLiteral("tipo"), p.tipo}};
    if (p.letti)
        radice.insert(QStringLiteral("lettura"),
                      QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(p.letti->data()),
                                                     static_cast<qsizetype>(p.letti->size()))
                                              .toHex()));
    return QJsonDocument(radice).toJson(QJsonDocument::Indented);
}

std::optional<QString> da_json(const QByteArray& testo, FileParametri& p)
{
    const QJsonObject radice = QJsonDocument::fromJson(testo).object();
    if (radice.value(QStringLiteral("formato")).toString() != nome_formato)
        return non_nostro;
    const int versione = radice.value(QStringLiteral("versione")).toInt(0);
    if (versione > versione_file_parametri)
        return formato_piu_recente.arg(versione).arg(versione_file_parametri);
    const QString tipo = radice.value(QStringLiteral("tipo")).toString();
    if (versione < 1 || tipo.size() > 8)
        return non_nostro;
    FileParametri letto{{}, tipo, {}};
    auto problema = campi_da_json(radice.value(QStringLiteral("campi")).toObject(), letto.valori);
    if (!problema)
        problema = coppie_da_json(radice.value(QStringLiteral("opzioni")).toObject(), letto.valori);
    if (!problema)
        problema = letti_da_json(radice.value(QStringLiteral("lettura")), letto.letti);
    if (!problema)
        p = letto;
    return problema;
}

std::optional<QString> apri_parametri(const QString& percorso, FileParametri& parametri)
{
    const auto non_aperto = [&percorso](const QString& problema) {
        return nel_file(azione_aprire, percorso, problema);
    };
    if (const auto problema = non_da_leggere(percorso, dimensione_massima_parametri, file_troppo_grande))
        return non_aperto(*problema);
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return non_aperto(motivo(file));
    const QByteArray testo = file.read(dimensione_massima_parametri + 1);
    if (file.error() != QFileDevice::NoError)
        return non_aperto(motivo(file));
    if (testo.size() > dimensione_massima_parametri)
        return non_aperto(file_troppo_grande);
    const auto problema = da_json(testo, parametri);
    return problema ? non_aperto(*problema) : problema;
}

// QSaveFile writes a file of its own beside the target and puts it in the
// target's place only once it is whole; a failure discards it. Unbuffered,
// so that the write itself fails on a full disk: a failure when the buffer
// is flushed at the commit would go unseen, and an empty file take the
// target's place.
std::optional<QString> salva_parametri(const QString& percorso, const FileParametri& parametri)
{
    if (const auto problema = non_ordinario(percorso))
        return nel_file(azione_salvare, percorso, *problema);
    QSaveFile file(percorso);
    const QByteArray testo = in_json(parametri);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(testo) == testo.size() && file.commit())
        return std::nullopt;
    return nel_file(azione_salvare, percorso, motivo(file));
}

} // namespace brenk
