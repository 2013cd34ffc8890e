// SPDX-License-Identifier: GPL-3.0-or-later
#include "archivio/disco.h"

#include "archivio/testi.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <system_error>

namespace brenk {

std::optional<QString> non_ordinario(const QString& percorso)
{
    const QFileInfo info(percorso);
    if (info.exists() && !info.isFile())
        return non_file_ordinario;
    return std::nullopt;
}

std::optional<QString> non_da_leggere(const QString& percorso, qint64 massimo, const QString& troppo_grande)
{
    if (const auto problema = non_ordinario(percorso))
        return problema;
    if (QFileInfo(percorso).size() > massimo)
        return troppo_grande;
    return std::nullopt;
}

QString motivo(const QFileDevice& file)
{
    const std::error_code errore(errno, std::generic_category());
    if (errore == std::errc::no_space_on_device || file.error() == QFileDevice::ResourceError)
        return disco_pieno;
    if (errore == std::errc::permission_denied || errore == std::errc::operation_not_permitted)
        return permesso_negato;
    if (errore == std::errc::read_only_file_system)
        return disco_sola_lettura;
    if (errore == std::errc::no_such_file_or_directory)
        return file_inesistente;
    return file.errorString();
}

std::optional<QString> salva_intero(const QString& percorso, const QByteArray& testo)
{
    QSaveFile file(percorso);
    if (file.open(QIODevice::WriteOnly) && file.write(testo) == testo.size() && file.commit())
        return std::nullopt;
    return problema_file.arg(azione_salvare, QDir::toNativeSeparators(percorso), motivo(file));
}

} // namespace brenk
