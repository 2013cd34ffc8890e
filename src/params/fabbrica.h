// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The two built-in factory blocks, addresses 0 to 63.

#include <array>
#include <cstdint>

namespace brenk {

enum class Banda { UHF, VHF };

using BloccoFabbrica = std::array<std::uint8_t, 64>;
const BloccoFabbrica& blocco_fabbrica(Banda banda);

} // namespace brenk
