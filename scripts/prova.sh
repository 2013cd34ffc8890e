#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test; builds the Debian package from that
# build and checks it; compiles the sources for Windows; runs the tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer; then a short run of
# each fuzzer.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
"$radice/scripts/dipendenze.sh"

export QT_QPA_PLATFORM=offscreen
"$radice/scripts/compila.sh" "$radice/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$radice/build" && ctest --output-on-failure -j2)
"$radice/scripts/pacchetto.sh" "$radice/build"
"$radice/scripts/windows.sh"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$radice/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$radice/scripts/compila.sh" "$radice/build-asan" -DCMAKE_BUILD_TYPE=Debug -DBRENK_SANITIZE=ON
(cd "$radice/build-asan" && ctest --output-on-failure -j2)

"$radice/scripts/fuzz.sh" "${BRENK_FUZZ_SECONDI:-20}"
