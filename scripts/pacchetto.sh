#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks it as a Debian maintainer would:
#   pacchetto.sh [FOLDER]     builds it in FOLDER (default build-pkg,
#                             configured as Debian builds: optimised, with
#                             debugging information, then stripped), checks
#                             it, then builds it a second time in another
#                             folder (FOLDER-bis) and compares the two;
#   pacchetto.sh --da FOLDER  makes it from a build folder already built
#                             (the test command's), and checks it.
# Fails on any error or warning that has no override in
# packaging/lintian-overrides, and when the second build gives another
# package:
# - lintian --pedantic on the .deb;
# - appstreamcli validate on the metainfo, and validate-tree on the installed
#   files (the desktop entry the metainfo launches must be there). --no-net:
#   the screenshot's address is not fetched;
# - desktop-file-validate on the desktop entry;
# - ldd on the installed brenk-zelm, which must load libQt6Sql;
# - the two packages must be the same byte for byte (every time inside them
#   is SOURCE_DATE_EPOCH, by default the last commit's).
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
"$radice/scripts/dipendenze.sh" dpkg-dev lintian appstream desktop-file-utils

# Makes the package of build folder $1 and names it.
pacchetto_da() {
  rm -f "$1"/brenk-zelm_*.deb
  (cd "$1" && cpack -G DEB >/dev/null)
  echo "$1"/brenk-zelm_*.deb
}

# Builds the package in folder $1 and names it. GCC's precompiled headers
# are not reproducible (their debugging information follows where the
# compiler's memory happened to lie), so the package is built without them,
# and in unity: each library's files compiled together, so that Qt's headers
# are read once per library rather than once per file.
pacchetto_in() {
  [ -f "$1/CMakeCache.txt" ] || cmake -S "$radice" -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON -DCMAKE_UNITY_BUILD=ON -DBRENK_SOLO_PROGRAMMI=ON >/dev/null
  cmake --build "$1" -j2 --target brenk-zelm brenk-sim brenk_compressi >/dev/null
  pacchetto_da "$1"
}

if [ "${1:-}" = --da ]; then
  cartella="$2"
  pacchetto="$(pacchetto_da "$cartella")"
else
  cartella="${1:-$radice/build-pkg}"
  pacchetto="$(pacchetto_in "$cartella")"
fi

echo "== lintian --pedantic $(basename "$pacchetto")"
lintian --pedantic --display-info --show-overrides --fail-on error,warning "$pacchetto"

albero="$(mktemp -d)"
trap 'rm -rf "$albero"' EXIT
dpkg-deb -x "$pacchetto" "$albero"

echo "== appstreamcli validate --no-net"
appstreamcli validate --no-net --strict "$albero"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net --strict "$albero"

echo "== desktop-file-validate"
for voce in "$albero"/usr/share/applications/*.desktop; do
  esito="$(desktop-file-validate "$voce" 2>&1)" || true
  if grep -qE '(error|warning):' <<<"$esito"; then
    echo "$esito"
    exit 1
  fi
  echo "$(basename "$voce"): ok${esito:+ ($esito)}"
done
# The record of codes is kept through Qt SQL, whose drivers the package
# names: the installed program must load its library.
echo "== ldd usr/bin/brenk-zelm"
librerie="$(ldd "$albero/usr/bin/brenk-zelm")"
if ! grep -qE 'libQt6Sql\.so[.0-9]* => /' <<<"$librerie"; then
  echo "usr/bin/brenk-zelm does not link libQt6Sql:"
  echo "$librerie"
  exit 1
fi
grep -E 'libQt6Sql\.so[.0-9]* => /' <<<"$librerie"
echo "Package $(basename "$pacchetto") passed lintian, appstreamcli, desktop-file-validate and ldd."
[ "${1:-}" != --da ] || exit 0

echo "== a second build in $(basename "$cartella")-bis"
secondo="$(pacchetto_in "$cartella-bis")"
if ! cmp "$pacchetto" "$secondo"; then
  diff <(dpkg-deb -c "$pacchetto") <(dpkg-deb -c "$secondo") || true
  exit 1
fi
echo "A second build gave it again byte for byte."
