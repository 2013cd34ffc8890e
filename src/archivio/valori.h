// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window shows, as the operator's files keep it: the ten parameter
// fields and the four option pairs, named in a file by the words of the
// table of fields (params/campi.h).

#include "params/campi.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>

namespace brenk {

struct Valori {
    // The fields' texts, in the window's order (Campo).
    std::array<QString, numero_campi> campi;
    // Per option pair (Coppia): whether its second button is selected;
    // empty when neither is.
    std::array<std::optional<bool>, numero_coppie> coppie;

    QString& testo(Campo c) { return campi[static_cast<std::size_t>(c)]; }
    const QString& testo(Campo c) const { return campi[static_cast<std::size_t>(c)]; }
    // No field holds a text.
    bool vuoti() const
    {
        return std::all_of(campi.begin(), campi.end(), [](const QString& t) { return t.isEmpty(); });
    }
};

// The word a file writes for the pair; empty when neither button is selected.
QString parola_coppia(const SchedaCoppia& s, std::optional<bool> secondo);

// A field's text as a parameter file keeps it, and back: the band is its
// word ("UHF"), which the field shows after two blanks; a file may hold
// either form. Every other field's text is kept as it is.
QString testo_in_file(const SchedaCampo& s, const QString& testo);
QString testo_da_file(const SchedaCampo& s, const QString& testo);

// Why `testo` cannot be the field's value, naming the field and the value;
// nothing when the window could hold it.
std::optional<QString> problema_campo(const SchedaCampo& s, const QString& testo);

} // namespace brenk
