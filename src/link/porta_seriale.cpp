// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/porta_seriale.h"

#include "link/dispositivo_seriale.h"
#include "link/mappa_porte.h"

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

PortaSeriale::PortaSeriale(QObject* parent)
    : PortaSeriale(std::make_unique<DispositivoSeriale>(), orologio_reale(), parent)
{
}

PortaSeriale::PortaSeriale(std::unique_ptr<Dispositivo> dispositivo, Orologio& orologio, QObject* parent)
    : QObject(parent),
      porta_(std::move(dispositivo)),
      orologio_(orologio),
      Timer1(orologio.sveglia()),
      quiete_(orologio.sveglia())
{
    const auto bytes_o_tempo = [this] { valuta(Ripresa::Subito); };
    connect(porta_.get(), &Dispositivo::arrivati, this, bytes_o_tempo);
    connect(Timer1.get(), &Sveglia::suonata, this, bytes_o_tempo);
    connect(quiete_.get(), &Sveglia::suonata, this, bytes_o_tempo);
    connect(porta_.get(), &Dispositivo::perso, this, &PortaSeriale::chiusa_sotto);
}

// An operation still waiting here must have been dropped before the port goes.
PortaSeriale::~PortaSeriale() = default;

void PortaSeriale::apri_porta()
{
    if (aperta())
        return;
    perdita_.reset();
    dispositivo_ = dispositivo_per_com(numero_);
    if (auto errore = porta_->apri(dispositivo_))
        throw *errore;
    porta_->imposta_linee({.dtr = true, .rts = false});
}

void PortaSeriale::chiudi_porta()
{
    if (!aperta())
        return;
    porta_->chiudi();
    valuta(Ripresa::DopoIlGestore);
    emit chiusa();
}

void PortaSeriale::invia(std::uint8_t byte)
{
    if (!aperta())
        throw errore_porta_chiusa();
    if (!porta_->scrivi(byte))
        throw errore_porta(QSerialPort::WriteError, dispositivo_);
}

void PortaSeriale::chiusa_sotto(const ErrorePorta& errore)
{
    perdita_ = errore;
    valuta(Ripresa::DopoIlGestore);
    emit chiusa();
    emit persa(errore);
}

qint64 PortaSeriale::scarta_in_arrivo()
{
    return aperta() ? porta_->scarta() : 0;
}

ErrorePorta PortaSeriale::errore_porta_chiusa() const
{
    return perdita_.value_or(errore_porta(QSerialPort::NotOpenError, dispositivo_));
}

PortaSeriale::Attesa PortaSeriale::attesa(Tipo tipo)
{
    return Attesa(*this, tipo);
}

Task<bool> PortaSeriale::attendi_pronto(std::optional<int> entro_ms)
{
    inizia_risposta(0, entro_ms);
    co_await attesa(Tipo::Pronto);
    a_tempo_ = false;
    if (!aperta())
        throw errore_porta_chiusa();
    co_return buffer_ == "K";
}

double PortaSeriale::prima_risposta_possibile(int byte_richiesta, int byte_risposta) const
{
    return adesso_ms() + (byte_richiesta + byte_risposta) * tempo_byte_ms - margine_orologio_ms;
}

void PortaSeriale::inizia_risposta(double non_prima_ms, std::optional<int> entro_ms)
{
    non_prima_ms_ = non_prima_ms;
    anticipati_ = 0;
    a_tempo_ = entro_ms.has_value();
    if (entro_ms)
        Timer1->avvia(*entro_ms);
    else
        Timer1->ferma();
}

Task<QByteArray> PortaSeriale::leggi_carattere(double non_prima_ms, std::optional<int> entro_ms)
{
    inizia_risposta(non_prima_ms, entro_ms);
    co_await attesa(Tipo::Carattere);
    a_tempo_ = false;
    co_return buffer_;
}

Task<bool> PortaSeriale::attendi_conferma(double non_prima_ms)
{
    inizia_risposta(non_prima_ms, timeout_ms_);
    co_await attesa(Tipo::Conferma);
    co_return buffer_ == "K";
}

Task<bool> PortaSeriale::attendi_silenzio(int ms)
{
    quiete_->avvia(ms);
    co_await attesa(Tipo::Silenzio);
    quiete_->ferma();
    if (!aperta())
        throw errore_porta_chiusa();
    co_return porta_->in_arrivo() == 0;
}

void PortaSeriale::al_termine_dello_scambio(std::function<void()> poi)
{
    const bool in_volo = attesa_ && (attesa_->tipo() == Tipo::Carattere || attesa_->tipo() == Tipo::Conferma);
    if (!in_volo) {
        poi();
        return;
    }
    congedo_ = std::move(poi);
    // A reply is awaited without a time-out; on the way out it gets the
    // acknowledgement's 4000 ms.
    if (attesa_->tipo() == Tipo::Carattere)
        Timer1->avvia(timeout_ms_);
}

void PortaSeriale::valuta(Ripresa ripresa)
{
    if (!attesa_ || !compiuta(attesa_->tipo()))
        return;
    if (congedo_) {
        attesa_ = nullptr;
        std::exchange(congedo_, nullptr)();
        return;
    }
    attesa_->concludi(ripresa);
}

// A byte that comes sooner than the reply could have is not the reply.
void PortaSeriale::prendi_in_buffer()
{
    const auto byte = static_cast<char>(porta_->prendi());
    if (adesso_ms() < non_prima_ms_)
        ++anticipati_;
    else
        buffer_.append(byte);
}

// Takes the bytes a wait may take and tells whether the wait is over.
bool PortaSeriale::compiuta(Tipo tipo)
{
    if (!aperta())
        return true;
    switch (tipo) {
    case Tipo::Pronto:
        while (porta_->in_arrivo() > 0) {
            svuota_buffer();
            prendi_in_buffer();
            if (buffer_ == "K")
                return true;
        }
        return a_tempo_ && !Timer1->attiva();
    case Tipo::Carattere:
        do {
            if (porta_->in_arrivo() > 0)
                prendi_in_buffer();
            if (buffer_.size() == 1)
                return true;
        } while (porta_->in_arrivo() > 0);
        return (congedo_ || a_tempo_) && !Timer1->attiva();
    case Tipo::Conferma:
        do {
            if (porta_->in_arrivo() > 0)
                prendi_in_buffer();
            if (buffer_ == "K" || !Timer1->attiva())
                return true;
        } while (porta_->in_arrivo() > 0);
        return false;
    case Tipo::Silenzio:
        return porta_->in_arrivo() > 0 || !quiete_->attiva();
    }
    return true;
}

void PortaSeriale::riprendi()
{
    if (auto h = std::exchange(da_riprendere_, nullptr))
        h.resume();
}

} // namespace brenk
