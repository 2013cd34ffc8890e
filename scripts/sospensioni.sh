#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the plain suite of a built folder (default build/) as the test
# command does, four entries at a time, and meanwhile stops every test
# process for 0 to 0.7 s every 1 to 3 s, as a loaded machine may: no test
# may depend on how soon anything happens. Fails as the suite fails.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${1:-$radice/build}" --output-on-failure -j4 &
suite=$!
casuale() { awk -v a="$1" -v b="$2" -v s="$RANDOM" 'BEGIN { srand(s); print a + (b - a) * rand() }'; }
while kill -0 "$suite" 2>/dev/null; do
  sleep "$(casuale 1 3)"
  prove=$(pgrep -P "$suite" || true)
  [ -n "$prove" ] || continue
  kill -STOP $prove 2>/dev/null || true
  sleep "$(casuale 0 0.7)"
  kill -CONT $prove 2>/dev/null || true
done
wait "$suite"
