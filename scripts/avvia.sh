#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the configurator talking to a simulated transmitter on "Com 1".
# Builds only these two programs, in a folder of their own; the test command
# builds everything.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
cartella="$radice/build-avvio"
"$radice/scripts/dipendenze.sh"
"$radice/scripts/compila.sh" "$cartella" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRENK_SOLO_PROGRAMMI=ON

collegamento="${TMPDIR:-/tmp}/brenk-com1-$(id -u)"
"$cartella/tools/brenk-sim" --memoria uhf --link "$collegamento" &
simulatore=$!
trap 'kill $simulatore 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$collegamento" ] && break; sleep 0.1; done

BRENK_COM1="$collegamento" "$cartella/src/ui/brenk-zelm"
