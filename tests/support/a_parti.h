// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A long test that ctest runs as several entries at once (brenk_test's
// PARTI n gives entry k the variable BRENK_PARTE="k/n"): entry k runs the
// k-th test function or data row and every n-th after it, and skips the
// others. Without the variable every one runs.

#include <QTest>

namespace brenk::prova {

// Whether the test function or row about to start is this entry's.
inline bool nella_mia_parte()
{
    static const QStringList parte = qEnvironmentVariable("BRENK_PARTE").split(u'/');
    static int contate = 0;
    return parte.size() != 2 || contate++ % parte[1].toInt() == parte[0].toInt() - 1;
}

} // namespace brenk::prova

// The test's init() begins with it.
#define BRENK_SOLO_LA_MIA_PARTE()                                                                                      \
    do {                                                                                                               \
        if (!brenk::prova::nella_mia_parte())                                                                          \
            QSKIP("tocca a un'altra parte");                                                                           \
    } while (false)
