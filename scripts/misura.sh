#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the configurator and prints its speed on the paced simulated line.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
"$radice/scripts/dipendenze.sh"
"$radice/scripts/compila.sh" "$radice/build-rel" -DCMAKE_BUILD_TYPE=Release
"$radice/build-rel/bench/brenk-bench"
