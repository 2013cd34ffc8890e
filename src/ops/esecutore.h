#pragma once

// Runs at most one device operation at a time. The operation's frame stays
// here while it waits; abandoning it destroys the frame and every wait in it.

#include "link/task.h"

namespace brenk {

class Esecutore {
public:
    bool in_corso() const { return !corrente_.finita(); }

    // Starts `operazione` unless one is already running; false if refused.
    bool avvia(Task<void> operazione)
    {
        if (in_corso())
            return false;
        corrente_ = std::move(operazione);
        corrente_.avvia();
        return true;
    }

    void abbandona() { corrente_ = Task<void>{}; }

private:
    Task<void> corrente_;
};

} // namespace brenk
