#pragma once

// Beeps through the system and messages as application-modal message boxes
// that are awaited, never run in a nested event loop.

#include "ui/avvisi.h"

namespace brenk {

class AvvisiQt : public Avvisi {
public:
    void beep() override;
    Task<void> messaggio(const QString& testo, Icona icona) override;
};

} // namespace brenk
