// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the link needs of a serial device. The program uses the real serial
// port (dispositivo_seriale.h); the fuzzer and fast tests put an in-process
// line in its place.

#include "link/errore_porta.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace brenk {

// The modem lines the port drives.
struct LineeModem {
    bool dtr = false;
    bool rts = false;
    friend bool operator==(const LineeModem&, const LineeModem&) = default;
};

class Dispositivo : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens `nome` at 2400 baud, 8 data bits, no parity, one stop bit, no
    // flow control. The error, in the operator's words, when it cannot.
    virtual std::optional<ErrorePorta> apri(const QString& nome) = 0;
    // Lets the bytes written reach the line, then closes.
    virtual void chiudi() = 0;
    virtual bool aperto() const = 0;

    // Bytes received and not yet taken.
    virtual qint64 in_arrivo() const = 0;
    // Takes the next received byte; there must be one.
    virtual std::uint8_t prendi() = 0;
    // Drops every byte received and not yet taken, also those the system
    // still holds for the port; how many there were.
    virtual qint64 scarta() = 0;
    // Writes one byte through to the line. False when refused.
    virtual bool scrivi(std::uint8_t byte) = 0;

    // Best effort: a device without modem lines is used as it is.
    virtual void imposta_linee(LineeModem linee) = 0;
    // The lines as last asked for.
    virtual LineeModem linee() const = 0;

signals:
    void arrivati();
    // The device vanished (adapter pulled out, line hung up); it is closed now.
    void perso(const brenk::ErrorePorta& errore);
};

} // namespace brenk
