// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An operation's bytes on the line, and its time until the last reply had
// crossed the line and until the operation ended (25 ms of listening later).

#include <QtGlobal>

#include <vector>

namespace brenk {

inline constexpr double secondi_per_byte = 10.0 / 2400.0;

struct Riga {
    const char* nome;
    qsizetype byte;
    double all_ultima_risposta;
    double misurato;
};

// How many times each operation on the clean line runs.
inline constexpr int ripetizioni = 5;

// Runs of one operation: its median run by the time to the last reply,
// with the least and the greatest ratio of all the runs. One run of under
// two seconds shows a hiccup of the machine as much as the code.
void stampa(std::vector<Riga> corse);

} // namespace brenk
