// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one way the windows and the operations beep and show messages, so
// tests can count beeps and read messages without a modal box in the way.

#include "link/task.h"
#include "ops/finestra.h"

#include <QString>

namespace brenk {

class Avvisi {
public:
    virtual ~Avvisi() = default;

    virtual void beep() = 0;
    // A message with an OK button only, titled "Brenk_zelm"; the Task ends
    // when the operator has closed it.
    virtual Task<void> messaggio(const QString& testo, Icona icona) = 0;
};

} // namespace brenk
