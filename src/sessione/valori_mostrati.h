// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The values a window shows, as the files and the record keep them, and
// the values a programming sends, decoded from its bytes.

#include "archivio/valori.h"
#include "ops/finestra.h"
#include "params/blocco.h"

#include <cstdint>
#include <span>

namespace brenk {

Valori valori_di(const Finestra& finestra);

// As the operator would type and click them (the band only `con_banda`);
// nothing is sent.
void metti_valori(Finestra& finestra, const Valori& v, bool con_banda);

// What `scritture`, written from address 0 over the trusted read `letti`,
// will hold, as a read shows it; where a read shows nothing of its own the
// window's `mostrati`, which the check before writing has compared with it.
Valori valori_inviati(const Letti& letti, std::span<const std::uint8_t> scritture, const Valori& mostrati);

} // namespace brenk
