#include "coda_linea.h"

#include <algorithm>

namespace brenk {

CodaLinea::CodaLinea(bool a_ritmo, QObject* parent)
    : QObject(parent), a_ritmo_(a_ritmo)
{
    orologio_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &CodaLinea::consegna);
}

void CodaLinea::metti(const QByteArray& byte)
{
    const qint64 adesso = orologio_.nsecsElapsed();
    for (const char c : byte) {
        qint64 fine = adesso;
        if (a_ritmo_) {
            // Each byte completes one line time after the later of its
            // arrival and the completion of the byte before it.
            ultima_fine_ns_ = std::max(adesso, ultima_fine_ns_) + tempo_byte_ns;
            fine = ultima_fine_ns_;
        }
        coda_.push_back({static_cast<quint8>(c), fine});
    }
    consegna();
}

void CodaLinea::svuota()
{
    coda_.clear();
    timer_.stop();
}

void CodaLinea::consegna()
{
    const qint64 adesso = orologio_.nsecsElapsed();
    // A receiver of `consegnato` may empty the queue (the line hangs up).
    while (!coda_.empty() && coda_.front().fine_ns <= adesso) {
        const quint8 byte = coda_.front().byte;
        coda_.pop_front();
        emit consegnato(byte);
    }
    if (!coda_.empty()) {
        const qint64 attesa_ns = coda_.front().fine_ns - orologio_.nsecsElapsed();
        timer_.start(static_cast<int>(std::max<qint64>(0, (attesa_ns + 999'999) / 1'000'000)));
    }
}

} // namespace brenk
