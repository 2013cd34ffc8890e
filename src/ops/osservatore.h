// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the device operations report as it happens on the line, for whoever
// keeps account of the day: the session. The operations know nothing else
// of it; each report has a default that ignores it.

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace brenk {

class Osservatore {
public:
    virtual ~Osservatore() = default;

    // A programming has passed its checks and is about to write `scritture`
    // to addresses 0, 1, ...: the text to tell instead when it may not.
    virtual std::optional<QString> programmazione_al_via(std::span<const std::uint8_t> /*scritture*/)
    {
        return std::nullopt;
    }
    // A write of the block goes to `indirizzo` now; then, if the transmitter
    // acknowledged it, confirmed.
    virtual void scrittura_inviata(int /*indirizzo*/) {}
    virtual void scrittura_confermata(int /*indirizzo*/) {}
    // The read-back holds every address written.
    virtual void verificata() {}
    // The operator is told `testo` in a message.
    virtual void detto(const QString& /*testo*/) {}
    // The running operation has told the operator, in the port's words, that
    // the port failed: a loss of the port under it needs no word of its own.
    virtual void guasto_porta_detto() {}

    // One that ignores every report.
    static Osservatore& nessuno()
    {
        static Osservatore o;
        return o;
    }
};

} // namespace brenk
