// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One direction of the simulated serial line. Each byte goes through after
// the line time of a character at 2400 baud (10 bits: start, 8 data, stop):
// a byte that enters while the line is busy waits for the bytes before it.

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>

#include <deque>

namespace brenk {

class CodaLinea : public QObject {
    Q_OBJECT
public:
    // 1/240 s, rounded up so that a paced byte never takes less.
    static constexpr qint64 tempo_byte_ns = (10 * 1'000'000'000LL + 2399) / 2400;

    explicit CodaLinea(QObject* parent = nullptr);
    ~CodaLinea() override;

    void metti(const QByteArray& byte);
    // Drops every byte not yet through.
    void svuota();
    bool vuota() const { return coda_.empty(); }

signals:
    void consegnato(quint8 byte);

private:
    struct Voce {
        quint8 byte;
        qint64 fine_ns;
    };

    void consegna();
    void arma(qint64 attesa_ns);

    std::deque<Voce> coda_;
    qint64 ultima_fine_ns_ = 0;
    QElapsedTimer orologio_;
    // A timer with nanosecond resolution: at 4.17 ms a byte, a whole-ms
    // timer would add a fifth to every paced byte.
    int timer_fd_ = -1;
    QSocketNotifier* scadenza_ = nullptr;
};

} // namespace brenk
