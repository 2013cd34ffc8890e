#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A throwaway PostgreSQL server for the tests of the codes' record:
#   postgres_prova.sh avvia DIR   DIR made by the caller (mktemp -d). Makes
#                                 a cluster in DIR/dati whose superuser
#                                 brenk is trusted, starts it with its
#                                 socket in DIR only and no TCP, its log in
#                                 DIR/server.log, creates the database
#                                 brenk_prova and prints its address,
#                                 postgresql://brenk@/brenk_prova?host=DIR;
#   postgres_prova.sh ferma DIR   stops it and removes DIR (also when
#                                 avvia failed or never ran).
# As root the server runs as the user postgres (the Debian package's), who
# is given DIR; otherwise as the caller. The package's own cluster is not
# touched, running or not: its files and socket are elsewhere.
set -euo pipefail

uso() {
  echo "usage: $0 avvia|ferma DIR" >&2
  exit 2
}
[ $# -eq 2 ] || uso
comando="$1"
# Gone already: nothing to stop.
[ "$comando" != ferma ] || [ -e "$2" ] || exit 0
[ -d "$2" ] || { echo "postgres_prova: $2 is not a folder" >&2; exit 2; }
radice="$(cd "$(dirname "$0")/.." && pwd)"
cartella="$(cd "$2" && pwd -P)"
dati="$cartella/dati"
registro="$cartella/server.log"
# Written first by avvia: ferma removes only a folder that carries it.
segno="$cartella/.brenk-postgres-prova"
# Still empty at ferma: avvia never ran (its caller failed before).
if [ "$comando" = ferma ] && [ -z "$(ls -A "$cartella")" ]; then
  rmdir "$cartella"
  exit 0
fi

[ "$comando" != avvia ] || "$radice/scripts/dipendenze.sh" postgresql >&2

# Debian keeps the server's programs out of PATH.
bin=""
for candidata in "$(pg_config --bindir 2>/dev/null || true)" \
                 $(printf '%s\n' /usr/lib/postgresql/*/bin | sort -rV); do
  if [ -n "$candidata" ] && [ -x "$candidata/initdb" ]; then
    bin="$candidata"
    break
  fi
done
[ -n "$bin" ] || { echo "postgres_prova: no initdb found (package postgresql)" >&2; exit 1; }

# Runs a command as the server's user, from DIR (the tools want a working
# folder they can read).
come=()
if [ "$(id -u)" -eq 0 ]; then
  id postgres >/dev/null 2>&1 || { echo "postgres_prova: no user postgres (package postgresql)" >&2; exit 1; }
  come=(runuser -u postgres --)
fi
utente() {
  (cd "$cartella" && "${come[@]}" "$@")
}

case "$comando" in
  avvia)
    [ -z "$(ls -A "$cartella")" ] || { echo "postgres_prova: $cartella is not empty" >&2; exit 1; }
    touch "$segno"
    [ ${#come[@]} -eq 0 ] || chown -R postgres: "$cartella"
    chmod 700 "$cartella"
    utente "$bin/initdb" -D "$dati" -U brenk --auth-local=trust --auth-host=reject \
      --no-locale --encoding=UTF8 --no-sync >"$cartella/initdb.log" 2>&1 ||
      { cat "$cartella/initdb.log" >&2; echo "postgres_prova: initdb failed in $dati" >&2; exit 1; }
    # Only the socket in DIR; a server that loses its data on a crash is
    # all a test needs, and starts and writes faster.
    cat >>"$dati/postgresql.conf" <<FINE
listen_addresses = ''
unix_socket_directories = '$cartella'
fsync = off
synchronous_commit = off
full_page_writes = off
FINE
    if ! utente "$bin/pg_ctl" -D "$dati" -l "$registro" -w -t 20 start >/dev/null; then
      tail -n 20 "$registro" >&2 || true
      utente "$bin/pg_ctl" -D "$dati" -m immediate stop >/dev/null 2>&1 || true
      echo "postgres_prova: the server in $dati did not start within 20 s (its log's end is above)" >&2
      exit 1
    fi
    utente "$bin/createdb" -h "$cartella" -U brenk brenk_prova
    echo "postgresql://brenk@/brenk_prova?host=$cartella"
    ;;
  ferma)
    [ -e "$segno" ] || { echo "postgres_prova: $cartella was not made by avvia, left alone" >&2; exit 1; }
    if [ -f "$dati/postmaster.pid" ]; then
      utente "$bin/pg_ctl" -D "$dati" -m fast -w -t 20 stop >/dev/null ||
        utente "$bin/pg_ctl" -D "$dati" -m immediate stop >/dev/null 2>&1 || true
    fi
    rm -rf "$cartella"
    ;;
  *) uso ;;
esac
