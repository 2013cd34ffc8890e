// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs a coroutine from a test and keeps what it ends with.

#include "link/errore_porta.h"
#include "link/task.h"

#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

namespace brenk::prova {

template <typename T>
struct Esito {
    std::optional<T> valore;
    std::optional<ErrorePorta> errore;
    bool finito = false;
};

// What a Task<T> ends with; a Task<void> that ends normally gives true.
template <typename T>
using EsitoDi = Esito<std::conditional_t<std::is_void_v<T>, bool, T>>;

template <typename T>
Task<void> raccogli(Task<T> t, EsitoDi<T>& esito)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(t);
            esito.valore = true;
        } else {
            esito.valore = co_await std::move(t);
        }
    } catch (const ErrorePorta& e) {
        esito.errore = e;
    }
    esito.finito = true;
}

// A coroutine started from a test, with the place its outcome goes.
template <typename T>
struct InCorso {
    EsitoDi<T> esito;
    Task<void> task;
};

template <typename T>
std::unique_ptr<InCorso<T>> avvia(Task<T> t)
{
    auto c = std::make_unique<InCorso<T>>();
    c->task = raccogli(std::move(t), c->esito);
    c->task.avvia();
    return c;
}

// Runs the event loop until `condizione` holds or `limite_ms` pass. Unlike
// QTest::qWaitFor it does not sleep between checks, so a long exchange with
// the simulator runs at the speed of the line.
inline bool attendi(const std::function<bool()>& condizione, int limite_ms = 60000)
{
    QEventLoop ciclo;
    QTimer controllo;
    QTimer limite;
    QObject::connect(&controllo, &QTimer::timeout, &ciclo, [&] {
        if (condizione())
            ciclo.quit();
    });
    QObject::connect(&limite, &QTimer::timeout, &ciclo, &QEventLoop::quit);
    limite.setSingleShot(true);
    limite.start(limite_ms);
    controllo.start(1);
    if (!condizione())
        ciclo.exec();
    return condizione();
}

} // namespace brenk::prova
