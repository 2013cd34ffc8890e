# SPDX-License-Identifier: GPL-3.0-or-later
# Timed steps, for prova.sh. At the script's end, even a failed one, each
# step's seconds are printed.
#   passo NAME COMMAND...    runs a step and waits for it;
#   accanto NAME COMMAND...  starts a step that runs alongside the next ones
#                            in a process group of its own (set -m), its
#                            output kept until...
#   attendi NAME             ...waits for it, shows its output, and fails if
#                            it failed;
#   alla_fine COMMAND...     runs COMMAND at the script's end, even a failed
#                            one, once the steps alongside are stopped; its
#                            failure is shown and changes nothing.

passi_nomi=()
passi_secondi=()
passi_inizio=$SECONDS
passi_cartella="$(mktemp -d)"
declare -A passi_file=()
passi_fine=()

passi_tabella() {
  local stato=$? file comando
  # A step still running alongside is stopped with its whole group.
  for file in "${passi_file[@]}"; do
    [ -f "$file.fine" ] || kill -- "-$(cat "$file.gruppo")" 2>/dev/null || true
  done
  for comando in "${passi_fine[@]}"; do
    eval "$comando" || echo "At the end, failed: $comando"
  done
  echo
  printf '%-36s %7s\n' "step" "seconds"
  for i in "${!passi_nomi[@]}"; do
    printf '%-36s %7s\n' "${passi_nomi[$i]}" "${passi_secondi[$i]}"
  done
  printf '%-36s %7s\n' "total, from start to end" "$((SECONDS - passi_inizio))"
  [ "$stato" -eq 0 ] || echo "Failed (status $stato)."
  rm -rf "$passi_cartella"
}
trap passi_tabella EXIT

passo() {
  local nome="$1" inizio=$SECONDS
  shift
  echo "== $nome"
  "$@"
  passi_nomi+=("$nome")
  passi_secondi+=("$((SECONDS - inizio))")
}

accanto() {
  local nome="$1" file="$passi_cartella/${#passi_file[@]}"
  shift
  passi_file[$nome]="$file"
  echo "== $nome: started, runs alongside the next steps"
  set -m
  (
    inizio=$SECONDS
    stato=0
    "$@" >"$file.log" 2>&1 || stato=$?
    echo "$((SECONDS - inizio)) $stato" >"$file.fine"
  ) &
  set +m
  echo $! >"$file.gruppo"
}

attendi() {
  local nome="$1" file="${passi_file[$1]}" secondi stato
  wait
  echo "== $nome"
  cat "$file.log"
  read -r secondi stato <"$file.fine"
  passi_nomi+=("$nome (alongside)")
  passi_secondi+=("$secondi")
  [ "$stato" -eq 0 ]
}

alla_fine() {
  passi_fine+=("$(printf '%q ' "$@")")
}
