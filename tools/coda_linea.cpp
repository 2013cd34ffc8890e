// SPDX-License-Identifier: GPL-3.0-or-later
#include "coda_linea.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace brenk {

namespace {
// How late the byte being delivered right now is. A byte put on a line in
// answer to it counts from when that byte was due, so that the timers'
// wake-up latency does not stretch the simulated line.
thread_local qint64 ritardo_in_consegna_ns = 0;
} // namespace

CodaLinea::CodaLinea(QObject* parent) : QObject(parent)
{
    orologio_.start();
    timer_fd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    scadenza_ = new QSocketNotifier(timer_fd_, QSocketNotifier::Read, this);
    connect(scadenza_, &QSocketNotifier::activated, this, [this] {
        std::uint64_t scadute = 0;
        [[maybe_unused]] auto letti = ::read(timer_fd_, &scadute, sizeof scadute);
        consegna();
    });
}

CodaLinea::~CodaLinea()
{
    delete scadenza_;
    ::close(timer_fd_);
}

void CodaLinea::arma(qint64 attesa_ns)
{
    // A zero time would disarm the timer: wait at least a nanosecond.
    attesa_ns = std::max<qint64>(1, attesa_ns);
    itimerspec quando{};
    quando.it_value.tv_sec = static_cast<time_t>(attesa_ns / 1'000'000'000);
    quando.it_value.tv_nsec = static_cast<long>(attesa_ns % 1'000'000'000);
    ::timerfd_settime(timer_fd_, 0, &quando, nullptr);
}

void CodaLinea::metti(const QByteArray& byte)
{
    const qint64 adesso = orologio_.nsecsElapsed() - ritardo_in_consegna_ns;
    for (const char c : byte) {
        // Each byte completes one line time after the later of its arrival
        // and the completion of the byte before it.
        ultima_fine_ns_ = std::max(adesso, ultima_fine_ns_) + tempo_byte_ns;
        coda_.push_back({static_cast<quint8>(c), ultima_fine_ns_});
    }
    consegna();
}

void CodaLinea::svuota()
{
    coda_.clear();
    itimerspec ferma{};
    ::timerfd_settime(timer_fd_, 0, &ferma, nullptr);
}

void CodaLinea::consegna()
{
    const qint64 adesso = orologio_.nsecsElapsed();
    // A receiver of `consegnato` may empty the queue (the line hangs up).
    while (!coda_.empty() && coda_.front().fine_ns <= adesso) {
        const quint8 byte = coda_.front().byte;
        ritardo_in_consegna_ns = adesso - coda_.front().fine_ns;
        coda_.pop_front();
        emit consegnato(byte);
        ritardo_in_consegna_ns = 0;
    }
    if (!coda_.empty()) {
        arma(coda_.front().fine_ns - orologio_.nsecsElapsed());
    }
}

} // namespace brenk
