// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/file_parametri.h"

#include "params/campi.h"
#include "testi_operatore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace brenk {

namespace {

const QString nome_formato = QStringLiteral("brenk-zelm parametri");

QString nel_file(const QString& quale, const QString& percorso, const QString& problema)
{
    return problema_file
        .arg(quale, QDir::toNativeSeparators(percorso), problema);
}

QJsonObject campi_in_json(const Valori& v)
{
    QJsonObject campi;
    for (std::size_t i = 0; i < numero_campi; ++i)
        campi.insert(QLatin1String(voci_campi[i].chiave), v.campi[i]);
    return campi;
}

QJsonObject coppie_in_json(const Valori& v)
{
    QJsonObject coppie;
    for (std::size_t i = 0; i < numero_coppie; ++i) {
        const QString parola = parola_coppia(i, v.coppie[i]);
        coppie.insert(QLatin1String(voci_coppie[i].chiave), parola.isEmpty() ? QJsonValue() : QJsonValue(parola));
    }
    return coppie;
}

std::optional<QString> campi_da_json(const QJsonObject& campi, Valori& v)
{
    for (std::size_t i = 0; i < numero_campi; ++i) {
        const QJsonValue valore = campi.value(QLatin1String(voci_campi[i].chiave));
        if (!valore.isString())
            return manca_valore.arg(QString::fromUtf8(schede_campi[i].didascalia));
        if (const auto problema = problema_campo(i, valore.toString()))
            return problema;
        v.campi[i] = valore.toString();
    }
    return std::nullopt;
}

std::optional<QString> coppie_da_json(const QJsonObject& coppie, Valori& v)
{
    for (std::size_t i = 0; i < numero_coppie; ++i) {
        const QJsonValue valore = coppie.value(QLatin1String(voci_coppie[i].chiave));
        const QString parola = valore.toString();
        const auto& parole = voci_coppie[i].parole;
        if (valore.isNull()) {
            v.coppie[i].reset();
        } else if (parola == QLatin1String(parole[0]) || parola == QLatin1String(parole[1])) {
            v.coppie[i] = parola == QLatin1String(parole[1]);
        } else {
            return valore_non_valido.arg(QString::fromUtf8(schede_coppie[i].didascalia));
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
                                                     static_cast<qsizetype>(p.letti->size())).toHex()));
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
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return non_aperto(file.errorString());
    const QByteArray testo = file.read(dimensione_massima_parametri + 1);
    if (file.error() != QFileDevice::NoError)
        return non_aperto(file.errorString());
    if (testo.size() > dimensione_massima_parametri)
        return non_aperto(file_troppo_grande);
    const auto problema = da_json(testo, parametri);
    return problema ? non_aperto(*problema) : problema;
}

std::optional<QString> salva_parametri(const QString& percorso, const FileParametri& parametri)
{
    QSaveFile file(percorso);
    const QByteArray testo = in_json(parametri);
    if (file.open(QIODevice::WriteOnly) && file.write(testo) == testo.size() && file.commit())
        return std::nullopt;
    return nel_file(azione_salvare, percorso, file.errorString());
}

} // namespace brenk
