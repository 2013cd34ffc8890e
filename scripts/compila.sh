#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into the given folder; extra arguments go to CMake.
# A new folder is made for Ninja (CMAKE_GENERATOR chooses another); one
# configured before keeps its generator.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
cartella="$1"; shift
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"
cmake -S "$radice" -B "$cartella" "$@" >/dev/null
cmake --build "$cartella" -j"$(nproc)"
