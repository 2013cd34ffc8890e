#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into the given folder; extra arguments go to CMake.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
cartella="$1"; shift
cmake -S "$radice" -B "$cartella" "$@" >/dev/null
cmake --build "$cartella" -j"$(nproc)"
