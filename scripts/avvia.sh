#!/bin/bash
# Starts the configurator talking to a simulated transmitter on "Com 1".
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
"$radice/scripts/dipendenze.sh"
"$radice/scripts/compila.sh" "$radice/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo

collegamento="${TMPDIR:-/tmp}/brenk-com1-$(id -u)"
"$radice/build/tools/brenk-sim" --memoria uhf --link "$collegamento" &
simulatore=$!
trap 'kill $simulatore 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$collegamento" ] && break; sleep 0.1; done

BRENK_COM1="$collegamento" "$radice/build/src/ui/brenk-zelm"
