// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Beeps through the system and messages as application-modal message boxes
// that are awaited, never run in a nested event loop.

#include "ui/avvisi.h"

#include <QPointer>
#include <QWidget>

namespace brenk {

class AvvisiQt : public Avvisi {
public:
    // The window the messages belong to: each box is its child, centred on it
    // and kept above it by the window manager.
    void appartiene_a(QWidget* finestra) { finestra_ = finestra; }

    void beep() override;
    Task<void> messaggio(const QString& testo, Icona icona) override;

private:
    QPointer<QWidget> finestra_;
};

} // namespace brenk
