// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Beeps and messages recorded instead of sounded and shown. A message is
// recorded when it is asked for and its Task completes at once, as if the
// operator had pressed OK straight away.

#include "ui/avvisi.h"

#include <QList>
#include <QString>

class AvvisiRegistrati : public brenk::Avvisi {
public:
    struct Messaggio {
        QString testo;
        brenk::Icona icona;
    };

    void beep() override { ++beep_; }
    brenk::Task<void> messaggio(const QString& testo, brenk::Icona icona) override
    {
        messaggi_.append({testo, icona});
        return concluso();
    }

    int beep_contati() const { return beep_; }
    const QList<Messaggio>& messaggi() const { return messaggi_; }
    QStringList testi() const
    {
        QStringList t;
        for (const auto& m : messaggi_)
            t << m.testo;
        return t;
    }
    void azzera()
    {
        beep_ = 0;
        messaggi_.clear();
    }

private:
    static brenk::Task<void> concluso() { co_return; }

    int beep_ = 0;
    QList<Messaggio> messaggi_;
};
