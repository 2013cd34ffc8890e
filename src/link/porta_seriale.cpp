#include "link/porta_seriale.h"

#include "link/mappa_porte.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace brenk {

// The suspension point of one wait. It registers with the port while
// suspended and unregisters when its frame goes, so an abandoned operation
// leaves nothing behind for the port to resume.
class PortaSeriale::Attesa {
public:
    Attesa(PortaSeriale& porta, Tipo tipo) : porta_(porta), tipo_(tipo) {}
    Attesa(const Attesa&) = delete;
    Attesa& operator=(const Attesa&) = delete;
    ~Attesa() { staccati(); }

    bool await_ready() { return porta_.compiuta(tipo_); }
    void await_suspend(std::coroutine_handle<> h)
    {
        h_ = h;
        porta_.attesa_ = this;
    }
    void await_resume() const noexcept {}

    Tipo tipo() const { return tipo_; }
    // The wait is over: forget the port and resume the operation. Bytes and
    // the time-out come straight from the event loop, so the operation goes
    // on at once; a close comes from a handler (a button), which must run to
    // its end first, so then the operation is resumed from the event loop.
    void concludi(Ripresa ripresa)
    {
        porta_.attesa_ = nullptr;
        if (ripresa == Ripresa::Subito) {
            std::exchange(h_, nullptr).resume(); // may destroy this awaiter
            return;
        }
        porta_.da_riprendere_ = h_;
        QMetaObject::invokeMethod(&porta_, &PortaSeriale::riprendi, Qt::QueuedConnection);
    }

private:
    void staccati()
    {
        if (porta_.attesa_ == this)
            porta_.attesa_ = nullptr;
        if (h_ && porta_.da_riprendere_ == h_)
            porta_.da_riprendere_ = nullptr;
    }

    PortaSeriale& porta_;
    Tipo tipo_;
    std::coroutine_handle<> h_;
};

PortaSeriale::PortaSeriale(QObject* parent) : QObject(parent)
{
    porta_.setBaudRate(QSerialPort::Baud2400);
    porta_.setDataBits(QSerialPort::Data8);
    porta_.setParity(QSerialPort::NoParity);
    porta_.setStopBits(QSerialPort::OneStop);
    porta_.setFlowControl(QSerialPort::NoFlowControl);
    porta_.setReadBufferSize(1024);

    Timer1.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the time-out is 4000 ms.
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setInterval(timeout_predefinito_ms);

    connect(&porta_, &QSerialPort::readyRead, this, [this] { valuta(Ripresa::Subito); });
    connect(&Timer1, &QTimer::timeout, this, [this] { valuta(Ripresa::Subito); });
    connect(&porta_, &QSerialPort::errorOccurred, this, &PortaSeriale::su_errore);
}

// An operation still waiting here must have been dropped before the port goes.
PortaSeriale::~PortaSeriale() = default;

void PortaSeriale::apri_porta()
{
    if (aperta())
        return;
    perdita_.reset();
    dispositivo_ = dispositivo_per_com(numero_);
    porta_.setPortName(dispositivo_);
    if (!porta_.open(QIODevice::ReadWrite)) {
        const auto errore = errore_porta(porta_.error(), dispositivo_);
        porta_.clearError();
        throw errore;
    }
    configura_linee();
}

// DTR up, RTS down. A pseudo-terminal has no modem lines, so both are best effort.
void PortaSeriale::configura_linee()
{
    porta_.setDataTerminalReady(true);
    porta_.setRequestToSend(false);
    porta_.clearError();
}

void PortaSeriale::chiudi_porta()
{
    if (!aperta())
        return;
    porta_.flush();
#ifdef Q_OS_UNIX
    // At most a farewell letter is pending: a few milliseconds on the line.
    ::tcdrain(static_cast<int>(porta_.handle()));
#endif
    porta_.close();
    valuta(Ripresa::DopoIlGestore);
    emit chiusa();
}

void PortaSeriale::invia(std::uint8_t byte)
{
    if (!aperta())
        throw errore_porta_chiusa();
    const char c = static_cast<char>(byte);
    // Straight to the line, as the transmitter's exchanges are timed by it.
    if (porta_.write(&c, 1) != 1 || !porta_.flush()) {
        const auto errore = errore_porta(QSerialPort::WriteError, dispositivo_);
        porta_.clearError();
        throw errore;
    }
}

void PortaSeriale::su_errore(QSerialPort::SerialPortError errore)
{
    // A device that vanishes (USB adapter pulled, line hung up) counts as a
    // closed port; a port that can no longer be read is no use either.
    const bool persa = errore == QSerialPort::ResourceError || errore == QSerialPort::ReadError;
    if (persa && aperta()) {
        perdita_ = errore_porta(QSerialPort::ResourceError, dispositivo_);
        porta_.close();
        valuta(Ripresa::DopoIlGestore);
        emit chiusa();
    }
}

ErrorePorta PortaSeriale::errore_porta_chiusa() const
{
    return perdita_.value_or(errore_porta(QSerialPort::NotOpenError, dispositivo_));
}

PortaSeriale::Attesa PortaSeriale::attesa(Tipo tipo)
{
    return Attesa(*this, tipo);
}

Task<void> PortaSeriale::attendi_pronto()
{
    co_await attesa(Tipo::Pronto);
    if (!aperta())
        throw errore_porta_chiusa();
}

Task<QByteArray> PortaSeriale::leggi_carattere()
{
    co_await attesa(Tipo::Carattere);
    co_return buffer_;
}

Task<bool> PortaSeriale::attendi_conferma()
{
    Timer1.stop();
    Timer1.start();
    co_await attesa(Tipo::Conferma);
    co_return buffer_ == "K";
}

void PortaSeriale::valuta(Ripresa ripresa)
{
    if (attesa_ && compiuta(attesa_->tipo()))
        attesa_->concludi(ripresa);
}

// Takes the bytes a wait may take and tells whether the wait is over.
bool PortaSeriale::compiuta(Tipo tipo)
{
    if (!aperta()) {
        return true;
    }
    switch (tipo) {
    case Tipo::Pronto:
        while (porta_.bytesAvailable() > 0) {
            buffer_ = porta_.read(1);
            if (buffer_ == "K")
                return true;
        }
        return false;
    case Tipo::Carattere:
        do {
            if (porta_.bytesAvailable() > 0)
                buffer_.append(porta_.read(1));
            if (buffer_.size() == 1)
                return true;
        } while (porta_.bytesAvailable() > 0);
        return false;
    case Tipo::Conferma:
        do {
            if (porta_.bytesAvailable() > 0)
                buffer_.append(porta_.read(1));
            if (buffer_ == "K" || !Timer1.isActive())
                return true;
        } while (porta_.bytesAvailable() > 0);
        return false;
    }
    return true;
}

void PortaSeriale::riprendi()
{
    if (auto h = std::exchange(da_riprendere_, nullptr))
        h.resume();
}

} // namespace brenk
