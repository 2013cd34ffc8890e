// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/errore_porta.h"

namespace brenk {

ErrorePorta errore_porta(QSerialPort::SerialPortError errore, const QString& dispositivo)
{
    const QString d = dispositivo.isEmpty() ? QStringLiteral("(nessuna)") : dispositivo;
    switch (errore) {
    case QSerialPort::DeviceNotFoundError:
        return {QStringLiteral("Porta seriale inesistente: %1").arg(d), 8002};
    case QSerialPort::PermissionError:
        return {QStringLiteral("Accesso negato alla porta %1 (l'utente deve far parte del gruppo dialout)").arg(d), 8010};
    case QSerialPort::OpenError:
        return {QStringLiteral("Porta %1 già aperta o in uso").arg(d), 8005};
    case QSerialPort::NotOpenError:
        return {QStringLiteral("Operazione non valida: porta non aperta"), 8012};
    case QSerialPort::WriteError:
        return {QStringLiteral("Errore di scrittura sulla porta %1").arg(d), 8020};
    case QSerialPort::ReadError:
        return {QStringLiteral("Errore di lettura sulla porta %1").arg(d), 8021};
    case QSerialPort::ResourceError:
        return {QStringLiteral("Porta %1 scollegata o non più disponibile").arg(d), 8022};
    case QSerialPort::UnsupportedOperationError:
        return {QStringLiteral("Impostazione non supportata dalla porta %1").arg(d), 8030};
    case QSerialPort::TimeoutError:
        return {QStringLiteral("Tempo scaduto sulla porta %1").arg(d), 8031};
    case QSerialPort::NoError:
    case QSerialPort::UnknownError:
        break;
    }
    return {QStringLiteral("Errore sconosciuto della porta %1").arg(d), 8099};
}

} // namespace brenk
