#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a
# bounded time (seconds, default 30) over its corpus, one per processor at a
# time. Fails on any crash or sanitizer report; the input that caused it is
# left in build-fuzz/guasti/. With 0 seconds it only builds them.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
secondi="${1:-30}"
cartella="$radice/build-fuzz"

"$radice/scripts/dipendenze.sh" clang libclang-rt-14-dev

cmake -S "$radice/fuzz" -B "$cartella" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$cartella" -j"$(nproc)"
[ "$secondi" -gt 0 ] || exit 0

export LSAN_OPTIONS="suppressions=$radice/scripts/lsan.supp:print_suppressions=0"
mkdir -p "$cartella/guasti"

# Runs one fuzzer over its corpus, its output in <fuzzer>.log and its exit
# status in <fuzzer>.esito. New inputs go to the build folder; the
# repository's corpus only seeds.
corri() {
  local fuzzer="$1" nome="${1#fuzz_}" esito=0
  local corpus=("$cartella/corpus/$nome")
  mkdir -p "${corpus[0]}"
  [ -d "$radice/fuzz/corpus/$nome" ] && corpus+=("$radice/fuzz/corpus/$nome")
  "$cartella/$fuzzer" -max_total_time="$secondi" -print_final_stats=1 \
    -artifact_prefix="$cartella/guasti/$fuzzer-" "${corpus[@]}" </dev/null >"$cartella/$fuzzer.log" 2>&1 || esito=$?
  echo "$esito" >"$cartella/$fuzzer.esito"
}

# Each fuzzer runs on one processor: as many at once as there are.
mapfile -t fuzzer <"$cartella/fuzzer.txt"
for f in "${fuzzer[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  echo "== $f: $secondi s"
  corri "$f" &
done
wait

falliti=()
for f in "${fuzzer[@]}"; do
  if [ "$(cat "$cartella/$f.esito")" -ne 0 ]; then
    falliti+=("$f")
    tail -n 40 "$cartella/$f.log"
  fi
  echo "$f:"
  grep -E '^(Done|stat::number_of_executed_units)' "$cartella/$f.log" || true
done

if [ ${#falliti[@]} -gt 0 ]; then
  echo "Fuzzers that failed: ${falliti[*]} (inputs in $cartella/guasti/)"
  exit 1
fi
echo "All fuzzers ran without a failure."
