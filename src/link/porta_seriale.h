// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The serial link to the transmitter: one port at fixed line settings
// (2400 baud, 8N1, no flow control, DTR up, RTS down), single raw bytes out,
// and the waits for bytes in.
//
// The waits are coroutines. A wait suspends the running operation and is
// resumed from the port's own events: bytes arriving, an alarm ringing (the
// reply time-out `Timer1`, the quiet time), or the port closing (also when
// the device vanishes). Nothing polls and no event loop is nested, so clicks
// and timer ticks run normally while an operation waits.

#include "link/dispositivo.h"
#include "link/errore_porta.h"
#include "link/orologio.h"
#include "link/task.h"

#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace brenk {

class PortaSeriale : public QObject {
    Q_OBJECT
public:
    static constexpr int timeout_predefinito_ms = 4000;
    // One character at 2400 baud: start bit, 8 data bits, stop bit.
    static constexpr double tempo_byte_ms = 10.0 * 1000.0 / 2400.0;
    // The port's clock and the system's hand-over of received bytes are
    // good to a fraction of this: a reply that comes as early as the line
    // allows is never taken for one that came too soon.
    static constexpr double margine_orologio_ms = 1.0;

    // The earliest moment a reply of `byte_risposta` bytes to a request of
    // `byte_richiesta` bytes handed to the port now can have arrived.
    double prima_risposta_possibile(int byte_richiesta, int byte_risposta) const;

    // The real serial port on Qt's timers.
    explicit PortaSeriale(QObject* parent = nullptr);
    // Any device on any clock, for the fuzzer and fast tests.
    PortaSeriale(std::unique_ptr<Dispositivo> dispositivo, Orologio& orologio, QObject* parent = nullptr);
    ~PortaSeriale() override;

    // `CommPort`: 1 to 8. Takes effect at the next opening.
    void imposta_numero(int numero) { numero_ = numero; }
    int numero() const { return numero_; }
    // The device the port was last opened on (empty before the first open).
    QString dispositivo() const { return dispositivo_; }

    bool aperta() const { return porta_->aperto(); }
    // DTR and RTS as the port last set them.
    LineeModem linee() const { return porta_->linee(); }

    // Opens the port unless it is already open. Throws ErrorePorta.
    void apri_porta();
    // Lets bytes already written reach the line, then closes the port.
    // Any running wait then ends as it does for a closed port.
    void chiudi_porta();
    // Writes one raw byte. Throws ErrorePorta when the port is closed or the
    // write is refused.
    void invia(std::uint8_t byte);
    void invia(char lettera) { invia(static_cast<std::uint8_t>(lettera)); }

    // Why the port is closed: the device vanished under it, or it is simply
    // not open.
    ErrorePorta errore_porta_chiusa() const;

    // The shared string of received characters; each exchange empties it.
    QByteArray& buffer() { return buffer_; }
    void svuota_buffer() { buffer_.truncate(0); }
    // Drops every byte received and not yet taken; how many there were.
    qint64 scarta_in_arrivo();

    // Wait for "K"; every other byte is thrown away. True once it came,
    // false when `entro_ms` pass first; without a bound it waits for good.
    // Throws ErrorePorta when the port is or becomes closed.
    Task<bool> attendi_pronto(std::optional<int> entro_ms = {});
    // Wait for exactly one byte; ends with what `buffer` holds (empty) when
    // the port closes or `entro_ms` pass first. Further bytes stay queued.
    // A byte that comes before `non_prima_ms` (the port's clock) was on its
    // way before the request: it is dropped and counted as anticipato.
    Task<QByteArray> leggi_carattere(double non_prima_ms = 0, std::optional<int> entro_ms = {});
    // Wait for `buffer` to be exactly "K" before `Timer1` runs out.
    // False on time-out, on any other reply and on a closed port. Bytes
    // before `non_prima_ms` are dropped as for leggi_carattere.
    Task<bool> attendi_conferma(double non_prima_ms = 0);
    // Bytes dropped by the last wait because they came too soon.
    int anticipati() const { return anticipati_; }
    // Waits `ms` for the line to stay quiet: true when nothing arrived,
    // false as soon as a byte is waiting (it stays queued). Throws
    // ErrorePorta when the port is or becomes closed.
    Task<bool> attendi_silenzio(int ms);

    // The farewell's way out: the exchange in flight ends first (its reply,
    // its acknowledgement, or `Timer1` running out), so that no byte sent
    // after it can be taken for part of it; then `poi` runs in place of the
    // waiting operation, which is never resumed and which `poi` must drop.
    // With no exchange in flight (no wait, or a wait for "K", for quiet or
    // for the operator) `poi` runs at once. After an exchange,
    // `buffer()` holds its reply ("K" for an acknowledged write).
    void al_termine_dello_scambio(std::function<void()> poi);

    // `Timer1` interval; the transmitter's protocol wants 4000 ms.
    void imposta_timeout(int ms) { timeout_ms_ = ms; }
    int timeout() const { return timeout_ms_; }
    // The port's clock, in milliseconds.
    double adesso_ms() const { return orologio_.adesso_ms(); }

signals:
    // The port has closed, by chiudi_porta() or because the device vanished.
    void chiusa();
    // The device vanished while open (adapter pulled out, line hung up).
    void persa(const brenk::ErrorePorta& errore);

private:
    enum class Tipo { Pronto, Carattere, Conferma, Silenzio };
    enum class Ripresa { Subito, DopoIlGestore };
    class Attesa;

    Attesa attesa(Tipo tipo);
    void valuta(Ripresa ripresa);
    bool compiuta(Tipo tipo);
    void prendi_in_buffer();
    void inizia_risposta(double non_prima_ms, std::optional<int> entro_ms = {});
    void riprendi();
    void chiusa_sotto(const ErrorePorta& errore);

    std::unique_ptr<Dispositivo> porta_;
    Orologio& orologio_;
    std::unique_ptr<Sveglia> Timer1;
    std::unique_ptr<Sveglia> quiete_;
    int timeout_ms_ = timeout_predefinito_ms;
    QByteArray buffer_;
    QString dispositivo_;
    std::optional<ErrorePorta> perdita_; // the device vanished while open
    int numero_ = 1;
    double non_prima_ms_ = 0; // of the awaited reply
    int anticipati_ = 0;
    bool a_tempo_ = false; // Timer1 bounds the wait for "K" or a byte
    Attesa* attesa_ = nullptr;
    std::coroutine_handle<> da_riprendere_;
    std::function<void()> congedo_; // runs when the exchange in flight ends
};

} // namespace brenk
