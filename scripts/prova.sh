#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test; while they run, builds the
# sanitized programs and tests, makes the Debian package from the same build
# and checks it, and builds the Windows check and the fuzzers; runs the tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer; then a short
# run of each fuzzer. Ends with the time of each step. No test is run twice:
# a test that fails once fails the command. Both suites have a throwaway
# PostgreSQL server (scripts/postgres_prova.sh), removed at the end.
#
# Most tests run on a virtual line and clock, and take no time; those on a
# real line (tests/ops/test_linea_reale.cpp, the simulator's and the windows'
# tests) wait on the simulated transmitter's timers, so the plain suite runs,
# four at a time, while the builds go on. Those take the processors only when the
# tests leave them (SCHED_IDLE). The sanitized suite runs alone, a dozen at a
# time; the fuzzers run last, alone, as they use all the processor they get.
# That a second build of the package gives it again byte for byte is
# checked by scripts/pacchetto.sh, where a maintainer builds the package.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
source "$radice/scripts/passi.sh"
cede=(chrt --idle 0)

# Each step installs what it needs beyond these; the PostgreSQL server for
# the tests is asked for here, in the same installation, and the D-Bus
# session and accessibility bus of the screen reader test.
passo "packages" "$radice/scripts/dipendenze.sh" postgresql poppler-utils dbus-daemon at-spi2-core

export QT_QPA_PLATFORM=offscreen
# Every build folder, the package's and the fuzzers' too, for Ninja.
export CMAKE_GENERATOR="${CMAKE_GENERATOR:-Ninja}"
# Each build compiles a library's files together (unity) and keeps of the
# debugging information the line tables that a test's or a sanitizer's
# report needs; the plain one is optimised a step less than a release
# (-O1: a third less to compile, and no test or check of the package needs
# more; scripts/pacchetto.sh alone builds the package as released); the
# sanitized one leaves out what runs no test.
passo "build" "$radice/scripts/compila.sh" "$radice/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"
# The record's rows on PostgreSQL run on a throwaway server: its socket only
# in a folder of its own, no TCP port; stopped and removed at the end, also
# after a failure. Both suites take its address.
postgres_cartella="$(mktemp -d)"
alla_fine "$radice/scripts/postgres_prova.sh" ferma "$postgres_cartella"
avvia_postgres() {
  BRENK_PROVA_POSTGRES="$("$radice/scripts/postgres_prova.sh" avvia "$postgres_cartella")"
  export BRENK_PROVA_POSTGRES
  echo "BRENK_PROVA_POSTGRES=$BRENK_PROVA_POSTGRES"
}
passo "PostgreSQL" avvia_postgres
accanto "tests" ctest --test-dir "$radice/build" --output-on-failure -j4
passo "ASan+UBSan build" "${cede[@]}" "$radice/scripts/compila.sh" "$radice/build-asan" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DBRENK_SANITIZE=ON -DCMAKE_UNITY_BUILD=ON -DBRENK_STRUMENTI=OFF
passo "package" "${cede[@]}" "$radice/scripts/pacchetto.sh" --da "$radice/build"
passo "Windows" "${cede[@]}" "$radice/scripts/windows.sh"
passo "fuzzers: build" "${cede[@]}" "$radice/scripts/fuzz.sh" 0
attendi "tests"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$radice/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Sanitized, the configurator's side of each exchange is slow enough that a
# build beside it could push a reply past its timing: these run alone.
passo "ASan+UBSan tests" ctest --test-dir "$radice/build-asan" --output-on-failure -j12
passo "fuzzers: run" "$radice/scripts/fuzz.sh" "${BRENK_FUZZ_SECONDI:-10}"
