// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/dispositivo_seriale.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/serial.h>
#endif

namespace brenk {

namespace {

// Whether the user may read and write the device at all. Qt reports a port
// that another program holds (its lock file, or the device's exclusive
// mode) as a permission error too. On Windows a refused serial port is one
// that another program has open.
bool permesso(const ChiamateSeriali& sistema, const QString& nome)
{
#ifdef Q_OS_UNIX
    return sistema.accesso(QFile::encodeName(nome).constData(), R_OK | W_OK) == 0;
#else
    Q_UNUSED(sistema);
    Q_UNUSED(nome);
    return true;
#endif
}

} // namespace

ChiamateSeriali chiamate_di_sistema()
{
#ifdef Q_OS_UNIX
    return {::access, [](int fd, unsigned long richiesta, void* dati) { return ::ioctl(fd, richiesta, dati); }};
#else
    return {};
#endif
}

DispositivoSeriale::DispositivoSeriale(ChiamateSeriali sistema, QObject* parent)
    : Dispositivo(parent), sistema_(std::move(sistema))
{
    porta_.setBaudRate(QSerialPort::Baud2400);
    porta_.setDataBits(QSerialPort::Data8);
    porta_.setParity(QSerialPort::NoParity);
    porta_.setStopBits(QSerialPort::OneStop);
    porta_.setFlowControl(QSerialPort::NoFlowControl);
    porta_.setReadBufferSize(1024);
    connect(&porta_, &QSerialPort::readyRead, this, &Dispositivo::arrivati);
    connect(&porta_, &QSerialPort::errorOccurred, this, &DispositivoSeriale::su_errore);
}

std::optional<ErrorePorta> DispositivoSeriale::apri(const QString& nome)
{
    nome_ = nome;
    porta_.setPortName(nome);
    if (porta_.open(QIODevice::ReadWrite)) {
        chiedi_bassa_latenza();
        return std::nullopt;
    }
    const auto errore = errore_apertura(nome);
    porta_.clearError();
    return errore;
}

ErrorePorta DispositivoSeriale::errore_apertura(const QString& nome) const
{
    const auto tipo = porta_.error();
    if (tipo == QSerialPort::PermissionError && permesso(sistema_, nome))
        return errore_porta(QSerialPort::OpenError, nome);
    return errore_porta(tipo, nome);
}

void DispositivoSeriale::chiudi()
{
    porta_.flush();
#ifdef Q_OS_UNIX
    // At most a farewell letter is pending: a few milliseconds on the line.
    ::tcdrain(static_cast<int>(porta_.handle()));
#endif
    rendi_latenza();
    porta_.close();
}

// Many USB adapters hold received bytes for up to 16 ms before passing them
// on, and every exchange waits for a one-byte reply: a read could take twice
// its line time. The serial driver's low-latency flag, which common USB
// adapter drivers turn into their shortest latency timer, passes each byte
// on at once. A device without it (a pseudo-terminal answers ENOTTY) is used
// as it is.
void DispositivoSeriale::chiedi_bassa_latenza()
{
    latenza_cambiata_ = false;
#ifdef Q_OS_LINUX
    serial_struct s{};
    const int fd = static_cast<int>(porta_.handle());
    if (sistema_.ioctl(fd, TIOCGSERIAL, &s) != 0 || (s.flags & ASYNC_LOW_LATENCY) != 0)
        return;
    s.flags |= ASYNC_LOW_LATENCY;
    latenza_cambiata_ = sistema_.ioctl(fd, TIOCSSERIAL, &s) == 0;
#endif
}

// The next program gets the device as it was.
void DispositivoSeriale::rendi_latenza()
{
#ifdef Q_OS_LINUX
    serial_struct s{};
    const int fd = static_cast<int>(porta_.handle());
    if (latenza_cambiata_ && sistema_.ioctl(fd, TIOCGSERIAL, &s) == 0) {
        s.flags &= ~ASYNC_LOW_LATENCY;
        sistema_.ioctl(fd, TIOCSSERIAL, &s);
    }
#endif
    latenza_cambiata_ = false;
}

std::uint8_t DispositivoSeriale::prendi()
{
    char c = 0;
    porta_.getChar(&c);
    return static_cast<std::uint8_t>(c);
}

qint64 DispositivoSeriale::scarta()
{
    qint64 scartati = porta_.readAll().size();
#ifdef Q_OS_UNIX
    // What the system has received and Qt has not read yet is read and
    // dropped here too, so that nothing received before this moment can be
    // taken for a reply.
    char blocco[256];
    for (ssize_t n; (n = ::read(static_cast<int>(porta_.handle()), blocco, sizeof blocco)) > 0;)
        scartati += n;
#endif
    return scartati;
}

bool DispositivoSeriale::scrivi(std::uint8_t byte)
{
    const char c = static_cast<char>(byte);
    // Straight to the line, as the transmitter's exchanges are timed by it.
    if (porta_.write(&c, 1) == 1 && porta_.flush())
        return true;
    porta_.clearError();
    return false;
}

// A pseudo-terminal has no modem lines: setting them fails there, harmlessly.
void DispositivoSeriale::imposta_linee(LineeModem linee)
{
    linee_ = linee;
    porta_.setDataTerminalReady(linee.dtr);
    porta_.setRequestToSend(linee.rts);
    porta_.clearError();
}

void DispositivoSeriale::su_errore(QSerialPort::SerialPortError errore)
{
    // A device that vanishes (USB adapter pulled, line hung up) counts as a
    // closed port; a port that can no longer be read is no use either.
    const bool persa = errore == QSerialPort::ResourceError || errore == QSerialPort::ReadError;
    if (persa && aperto()) {
        porta_.close();
        emit perso(errore_porta(QSerialPort::ResourceError, nome_));
    }
}

} // namespace brenk
