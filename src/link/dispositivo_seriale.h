// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real serial port.

#include "link/dispositivo.h"

#include <QSerialPort>

namespace brenk {

class DispositivoSeriale : public Dispositivo {
    Q_OBJECT
public:
    explicit DispositivoSeriale(QObject* parent = nullptr);

    std::optional<ErrorePorta> apri(const QString& nome) override;
    void chiudi() override;
    bool aperto() const override { return porta_.isOpen(); }
    qint64 in_arrivo() const override { return porta_.bytesAvailable(); }
    std::uint8_t prendi() override;
    qint64 scarta() override;
    bool scrivi(std::uint8_t byte) override;
    void imposta_linee(LineeModem linee) override;
    LineeModem linee() const override { return linee_; }
    // Whether this program turned the driver's low-latency flag on.
    bool bassa_latenza_chiesta() const { return latenza_cambiata_; }

private:
    void su_errore(QSerialPort::SerialPortError errore);
    ErrorePorta errore_apertura(const QString& nome) const;
    void chiedi_bassa_latenza();
    void rendi_latenza();

    QSerialPort porta_;
    QString nome_;
    LineeModem linee_;
    bool latenza_cambiata_ = false;
};

} // namespace brenk
