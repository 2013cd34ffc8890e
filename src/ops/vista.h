// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a read of the block shows in the window: each field's text and each
// option pair's selection, decoded as the read decodes them. Where the read
// cannot show a value (a mask that names no input, an unknown band) the
// window keeps what it showed; a pair whose byte is neither 0 nor 1 shows
// no selection.

#include "ops/finestra.h"
#include "params/blocco.h"

#include <QString>

#include <array>
#include <optional>

namespace brenk {

// The option pairs, in the order of `Opzione`.
enum class Coppia { Toni, Ripristino, Trasmissione, Modo };

struct Vista {
    std::array<std::optional<QString>, 10> testi{}; // by Campo
    std::array<std::optional<bool>, 4> coppie{};    // by Coppia: the button that stores 1

    const std::optional<QString>& testo(Campo c) const { return testi[static_cast<std::size_t>(c)]; }
    std::optional<QString>& testo(Campo c) { return testi[static_cast<std::size_t>(c)]; }
    std::optional<bool>& coppia(Coppia c) { return coppie[static_cast<std::size_t>(c)]; }
};

// The variables a read keeps of `letti`: the parameters, the type and the
// band; 37 to 59 and the stored checksum are not kept.
void memorizza(BloccoParametri& b, const Letti& letti);

// Decoding halves ByteT3 in `b`, as the read keeps the channel remainder.
Vista vista_di(BloccoParametri& b);
Vista vista_di(const Letti& letti);

// Shows `v` in the order the operator sees the fields change; a tone, a
// transmission or a mode that cannot be shown beeps.
void mostra_vista(const Vista& v, Finestra& finestra);

// The first option pair the operator sets that shows no selection, by name.
std::optional<QString> coppia_senza_scelta(const Finestra& finestra);

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
