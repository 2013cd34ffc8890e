// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmark reads of its own process: processor time, context
// switches (each time a thread went to sleep or was preempted, so each a
// wake-up), memory and age, from getrusage and /proc.

#include <QByteArray>
#include <QMap>

#include <sys/resource.h>

namespace brenk {

// Processor seconds of RUSAGE_SELF (every thread) or RUSAGE_THREAD.
double secondi_processore(int chi);

// What the calling thread has used so far.
struct UsoFilo {
    long cambi = 0;
    double processore = 0;
};
UsoFilo uso_del_filo();

// Every thread of the process by its id: its name and what it has used so far.
struct Filo {
    QByteArray nome;
    long cambi = 0;
    double processore = 0;
};
QMap<QByteArray, Filo> fili();

double picco_memoria_mb();

// Seconds since the process started, from the kernel's own clock.
double dall_avvio();

} // namespace brenk
