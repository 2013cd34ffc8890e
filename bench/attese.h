// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The benchmark's own waits: it drives the window from outside, in the
// window's thread, so it runs the event loop until what it measures is done.

#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace brenk {

// Runs the event loop until `fatto` holds, checking every `passo_ms`.
inline void attendi(const std::function<bool()>& fatto, int passo_ms = 1)
{
    QEventLoop ciclo;
    QTimer controllo;
    QObject::connect(&controllo, &QTimer::timeout, &ciclo, [&] {
        if (fatto())
            ciclo.quit();
    });
    controllo.start(passo_ms);
    if (!fatto())
        ciclo.exec();
}

inline void attendi_per(int ms)
{
    QEventLoop ciclo;
    QTimer::singleShot(ms, &ciclo, &QEventLoop::quit);
    ciclo.exec();
}

} // namespace brenk
