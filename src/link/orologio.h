// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Time as the link and the simulated transmitter see it: one-shot alarms and
// a clock in milliseconds. The program runs on Qt's timers and a monotonic
// clock; the fuzzer and fast tests run the same code on a virtual clock that
// they advance themselves.

#include <QObject>

#include <memory>

namespace brenk {

// A one-shot alarm.
class Sveglia : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts it anew: it rings once, `ms` from now.
    virtual void avvia(int ms) = 0;
    virtual void ferma() = 0;
    // Started and not yet rung.
    virtual bool attiva() const = 0;

signals:
    void suonata();
};

class Orologio {
public:
    virtual ~Orologio() = default;
    virtual std::unique_ptr<Sveglia> sveglia() = 0;
    // Milliseconds since some fixed moment.
    virtual double adesso_ms() const = 0;
};

// Qt's precise timers and the monotonic clock: a coarse timer may ring up to
// 5 % early, and the reply time-out is 4000 ms.
Orologio& orologio_reale();

} // namespace brenk
