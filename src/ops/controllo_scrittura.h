// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The check before a programming writes: the window must show what the
// transmitter would hold once written.

#include "ops/vista.h"

namespace brenk {

// The first option pair the operator sets that shows no selection, by name.
std::optional<QString> coppia_senza_scelta(const Finestra& finestra);

// The message for the first chosen field written at addresses up to
// `ultimo` whose text is not one of its choices (typed, or set by assistive
// technology): no byte may carry it.
std::optional<QString> scelta_fuori_lista(const Finestra& finestra, int ultimo);

// A value the window shows otherwise than the transmitter would hold it.
struct Discordanza {
    QString campo;
    QString mostrato;
    QString conterrebbe;
};

// The first field or option the operator can see that would read back, once
// `scritta` is written, otherwise than the window shows it. The frequency
// counts only as `letta` showed it: one the operator typed goes onto the
// 12.5 kHz grid on purpose. The hidden restore input and the mode, which the
// programming sets itself, do not count.
std::optional<Discordanza> prima_discordanza(const Vista& letta, const Vista& scritta, const Finestra& finestra);

} // namespace brenk
