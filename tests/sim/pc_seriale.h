// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The PC's end of the line in the simulator tests: a real QSerialPort at
// 2400 8N1 on the simulator's device, collecting what arrives.

#include <QSerialPort>

class PcSeriale {
public:
    explicit PcSeriale(const QString& dispositivo)
    {
        porta.setPortName(dispositivo);
        porta.setBaudRate(QSerialPort::Baud2400);
        porta.setDataBits(QSerialPort::Data8);
        porta.setParity(QSerialPort::NoParity);
        porta.setStopBits(QSerialPort::OneStop);
        porta.setFlowControl(QSerialPort::NoFlowControl);
        QObject::connect(&porta, &QSerialPort::readyRead, [this] { leggi(); });
        // A vanished line keeps reporting its error until the port closes.
        QObject::connect(&porta, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
            if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError) {
                errore = e;
                porta.close();
            }
        });
    }

    // A failure says why, for the log of a test that fails on it.
    bool apri()
    {
        const bool aperta = porta.open(QIODevice::ReadWrite);
        if (!aperta)
            qWarning("%s: %s", qPrintable(porta.portName()), qPrintable(porta.errorString()));
        return aperta;
    }
    void scrivi(const QByteArray& byte) { porta.write(byte); }
    // Answers the first "K" that arrives with "L", at once.
    void collega() { attende_k = true; }

    QSerialPort porta;
    QByteArray arrivati;
    QSerialPort::SerialPortError errore = QSerialPort::NoError;

private:
    void leggi()
    {
        const QByteArray nuovi = porta.readAll();
        arrivati += nuovi;
        if (attende_k && nuovi.contains('K')) {
            attende_k = false;
            porta.write("L");
        }
    }

    bool attende_k = false;
};
