#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test; builds the Debian package from that
# build and checks it; compiles the sources for Windows; runs the tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer; then a short run of
# each fuzzer. Ends with the time of each step.
#
# The tests mostly wait on the simulated line's timers, so each suite runs
# alongside the builds that follow it, which yield to it (nice); a suite's
# output is shown when it has ended.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
source "$radice/scripts/passi.sh"

# Every step's packages at once: one look at the package lists.
passo "packages" "$radice/scripts/dipendenze.sh" dpkg-dev lintian appstream desktop-file-utils \
  g++-mingw-w64-x86-64-posix clang libclang-rt-14-dev

export QT_QPA_PLATFORM=offscreen
# Every build folder, the package's and the fuzzers' too, for Ninja.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"
passo "build" "$radice/scripts/compila.sh" "$radice/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
accanto "tests" ctest --test-dir "$radice/build" --output-on-failure -j4
passo "package, built twice" nice -n 5 "$radice/scripts/pacchetto.sh" "$radice/build"
passo "Windows" nice -n 5 "$radice/scripts/windows.sh"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$radice/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
passo "ASan+UBSan build" nice -n 5 "$radice/scripts/compila.sh" "$radice/build-asan" \
  -DCMAKE_BUILD_TYPE=Debug -DBRENK_SANITIZE=ON
attendi "tests"
accanto "ASan+UBSan tests" ctest --test-dir "$radice/build-asan" --output-on-failure -j4
passo "fuzzers" nice -n 5 "$radice/scripts/fuzz.sh" "${BRENK_FUZZ_SECONDI:-20}"
attendi "ASan+UBSan tests"
