// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a read of the block shows in the window: each field's text and each
// option pair's selection, decoded as the read decodes them. Where the read
// cannot show a value (a mask that names no input, an unknown band) the
// window keeps what it showed; a pair whose byte is neither 0 nor 1 shows
// no selection. And what the block keeps of a read.

#include "ops/finestra.h"
#include "params/blocco.h"

#include <QString>

#include <array>
#include <optional>

namespace brenk {

struct Vista {
    std::array<std::optional<QString>, 10> testi{}; // by Campo
    std::array<std::optional<bool>, 4> coppie{};    // by Coppia: the button that stores 1

    const std::optional<QString>& testo(Campo c) const { return testi[static_cast<std::size_t>(c)]; }
    std::optional<QString>& testo(Campo c) { return testi[static_cast<std::size_t>(c)]; }
    std::optional<bool>& coppia(Coppia c) { return coppie[static_cast<std::size_t>(c)]; }
};

// Keeps a trusted read in `b`: the parameters, the type and the band, with
// ByteT3 halved as the read keeps the channel remainder, and for a new type
// the checksum of what it holds; 37 to 59 and the stored checksum are not
// kept. The read itself becomes `b.letti`.
void conserva(BloccoParametri& b, const Letti& letti);

Vista vista_di(const Letti& letti);

// Shows `v` in the order the operator sees the fields change; a tone, a
// transmission or a mode that cannot be shown beeps.
void mostra_vista(const Vista& v, Finestra& finestra);

} // namespace brenk
