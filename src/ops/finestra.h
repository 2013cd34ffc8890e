// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the device operations need of the main window. The window implements
// it; the operations know nothing else of it.

#include "link/task.h"
#include "params/campi.h"

#include <QString>

namespace brenk {

// The option buttons, pair by pair (the button storing 0 first).
enum class Opzione {
    Opt_toni_alti,
    Opt_toni_bassi,
    Opt_bat_no,
    Opt_bat_si,
    Opt_tx_sing,
    Opt_tx_mult,
    opt_brenk,
    Opt_zelm,
};

// The button of pair `c` that stores 1, or the one that stores 0.
constexpr Opzione bottone(Coppia c, bool uno)
{
    return static_cast<Opzione>(2 * static_cast<int>(c) + (uno ? 1 : 0));
}

enum class Icona { Nessuna, Esclamazione };

class Finestra {
public:
    virtual ~Finestra() = default;

    virtual QString testo(Campo campo) const = 0;
    // Setting a typed field's text runs its entry check, as typing does.
    virtual void imposta_testo(Campo campo, const QString& testo) = 0;
    virtual bool selezionata(Opzione opzione) const = 0;
    // Has the effect of a click when the selection changes.
    virtual void seleziona(Opzione opzione) = 0;
    // The pair of `opzione` shows neither button selected, and stores nothing.
    virtual void nessuna_scelta(Opzione opzione) = 0;

    virtual void imposta_stato(const QString& stato) = 0; // txb_stato_con
    virtual void imposta_tipo(const QString& tipo) = 0;   // lab_tipo_brenk

    virtual void mostra_progresso(bool visibile) = 0; // ProgressBar1
    virtual void imposta_massimo_progresso(int massimo) = 0;
    virtual void imposta_progresso(int valore) = 0;
    // A confirmation in the progress bar's place, without a message box;
    // an empty text takes it away.
    virtual void mostra_conferma(const QString& testo) = 0;
    // A note in the same place while an operation waits; empty takes it away.
    virtual void mostra_nota(const QString& testo) = 0;

    virtual void beep() = 0;
    // A modal message with an OK button; resumes when the operator closes it.
    virtual Task<void> messaggio(const QString& testo, Icona icona) = 0;
};

} // namespace brenk
