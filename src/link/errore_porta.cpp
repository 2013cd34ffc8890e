// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/errore_porta.h"
#include "link/testi.h"

namespace brenk {

ErrorePorta errore_porta(QSerialPort::SerialPortError errore, const QString& dispositivo)
{
    const QString d = dispositivo.isEmpty() ? porta_nessuna : dispositivo;
    switch (errore) {
    case QSerialPort::DeviceNotFoundError:
        return {errore_porta_inesistente.arg(d), 8002};
    case QSerialPort::PermissionError:
        return {errore_porta_negata.arg(d), 8010};
    case QSerialPort::OpenError:
        return {errore_porta_in_uso.arg(d), 8005};
    case QSerialPort::NotOpenError:
        return {errore_porta_non_aperta, ErrorePorta::numero_porta_non_aperta};
    case QSerialPort::WriteError:
        return {errore_porta_scrittura.arg(d), 8020};
    case QSerialPort::ReadError:
        return {errore_porta_lettura.arg(d), 8021};
    case QSerialPort::ResourceError:
        return {errore_porta_scollegata.arg(d), 8022};
    case QSerialPort::UnsupportedOperationError:
        return {errore_porta_impostazione.arg(d), 8030};
    case QSerialPort::TimeoutError:
        return {errore_porta_tempo.arg(d), 8031};
    case QSerialPort::NoError:
    case QSerialPort::UnknownError:
        break;
    }
    return {errore_porta_sconosciuto.arg(d), 8099};
}

} // namespace brenk
