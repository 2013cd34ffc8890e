// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs at most one device operation at a time. The operation's frame stays
// here while it waits; abandoning it destroys the frame and every wait in it.

#include "link/task.h"
#include "ops/contesto.h"

#include <QString>

#include <exception>
#include <functional>
#include <utility>

namespace brenk {

class Esecutore {
public:
    // `al_cambio` is called when an operation has run up to its first wait,
    // when it ends and when it is abandoned. At its end the call comes from
    // the operation's last step, while in_corso() still holds: a caller that
    // needs to see the operation over looks from the event loop.
    explicit Esecutore(std::function<void()> al_cambio = {}) : al_cambio_(std::move(al_cambio)) {}
    // A running operation's frame refers to this object: it stays in place.
    Esecutore(const Esecutore&) = delete;
    Esecutore& operator=(const Esecutore&) = delete;

    bool in_corso() const { return !corrente_.finita(); }

    // Starts `operazione` unless one is already running; false if refused.
    bool avvia(Task<void> operazione)
    {
        if (in_corso())
            return false;
        corrente_ = segui(std::move(operazione));
        corrente_.avvia();
        avvisa();
        return true;
    }

    void abbandona()
    {
        corrente_ = Task<void>{};
        avvisa();
    }

private:
    // The operation, then the report of its end, however it ends. An error
    // that escapes it goes to standard error: nobody awaits this task.
    Task<void> segui(Task<void> operazione)
    {
        std::exception_ptr errore;
        try {
            co_await std::move(operazione);
        } catch (...) {
            errore = std::current_exception();
        }
        avvisa();
        if (errore)
            riferisci(errore);
    }

    static void riferisci(const std::exception_ptr& errore);

    void avvisa() const
    {
        if (al_cambio_)
            al_cambio_();
    }

    std::function<void()> al_cambio_;
    Task<void> corrente_;
};

// `operazione` as the window starts it, named as its button is. An exception
// that escapes it is unexpected (the operations tell a port's failure in the
// port's words themselves): it ends the operation as a port error would:
// `fleg` back to 0, the progress bar and the note hidden, a line on standard
// error and a message that names the operation.
Task<void> custodita(Contesto& c, QString nome, Task<void> operazione);

} // namespace brenk
