// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real serial port.

#include "link/dispositivo.h"

#include <QSerialPort>

#include <functional>

namespace brenk {

// What the device asks of the system beyond Qt: whether the user may read
// and write a device (access) and the serial driver's settings (ioctl, for
// TIOCGSERIAL and TIOCSSERIAL). Tests play a driver or a user through them.
struct ChiamateSeriali {
    std::function<int(const char* percorso, int modo)> accesso;
    std::function<int(int fd, unsigned long richiesta, void* dati)> ioctl;
};
// The system's own calls.
ChiamateSeriali chiamate_di_sistema();

class DispositivoSeriale : public Dispositivo {
    Q_OBJECT
public:
    explicit DispositivoSeriale(ChiamateSeriali sistema = chiamate_di_sistema(), QObject* parent = nullptr);

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

    ChiamateSeriali sistema_;
    QSerialPort porta_;
    QString nome_;
    LineeModem linee_;
    bool latenza_cambiata_ = false;
};

} // namespace brenk
