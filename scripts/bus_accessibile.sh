#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command where a screen reader would meet its windows: on an X server
# of its own (xvfb-run) and in a D-Bus session of its own (dbus-run-session),
# whose accessibility bus (at-spi2-core) starts when first asked for, with
# Qt's bridge to that bus on, and to no other the environment names. The
# window's screen reader test runs so.
set -euo pipefail
unset AT_SPI_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
exec xvfb-run -a dbus-run-session -- "$@"
