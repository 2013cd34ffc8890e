// SPDX-License-Identifier: GPL-3.0-or-later
// Kept apart from the windows' code: Xlib's header defines macros (None,
// Bool, KeyPress, ...) that collide with Qt's names.
#include "ui/titolo_x11.h"

#include <QGuiApplication>

#ifdef Q_OS_LINUX
#include <X11/Xlib.h>
#endif

namespace brenk {

void titolo_inviato_per_intero()
{
#ifdef Q_OS_LINUX
    // The offscreen platform answers to this interface too, without a display.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->display() != nullptr)
        XFlush(x11->display());
#endif
}

} // namespace brenk
