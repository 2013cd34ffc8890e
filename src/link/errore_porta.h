// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A failure of the port layer, as the operator sees it: an Italian
// description and a number.

#include <QSerialPort>
#include <QString>

#include <exception>

namespace brenk {

struct ErrorePorta : std::exception {
    QString descrizione;
    int numero = 0;

    ErrorePorta(QString d, int n) : descrizione(std::move(d)), numero(n) {}
    const char* what() const noexcept override { return "errore della porta seriale"; }
    // The text of the connect handler's first message: description, a blank, the number.
    QString testo() const { return descrizione + QLatin1Char(' ') + QString::number(numero); }
    // The port was not open: the program itself closed it, nothing failed.
    bool porta_chiusa() const { return numero == numero_porta_non_aperta; }

    static constexpr int numero_porta_non_aperta = 8012;
};

// The error for a QSerialPort failure on `dispositivo`.
ErrorePorta errore_porta(QSerialPort::SerialPortError errore, const QString& dispositivo);

} // namespace brenk
