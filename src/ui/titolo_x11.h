// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window title on X11 is two properties: Qt writes _NET_WM_NAME through
// xcb and sends it at once, and WM_NAME through Xlib, which keeps it in its
// buffer until the window's thread next wakes, for the X server's notice of
// the first change. So each title change cost two rounds: two writes, two
// notices, each waking Qt's X reader and then the window's thread.

namespace brenk {

// After a title change: sends what Xlib holds, so that both properties
// leave together and their two notices come back together. Does nothing on
// other platforms.
void titolo_inviato_per_intero();

} // namespace brenk
