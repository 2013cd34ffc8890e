#!/bin/bash
# Builds the Debian package in a build folder (default build-pkg, configured
# as Debian builds: optimised, with debugging information, then stripped) and
# checks it as a Debian maintainer would. Fails on any error or warning that
# has no override in packaging/lintian-overrides:
# - lintian --pedantic on the .deb;
# - appstreamcli validate on the metainfo, and validate-tree on the installed
#   files (the desktop entry the metainfo launches must be there). --no-net:
#   the screenshot's address is not fetched;
# - desktop-file-validate on the desktop entry.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
cartella="${1:-$radice/build-pkg}"
"$radice/scripts/dipendenze.sh" dpkg-dev lintian appstream desktop-file-utils

[ -f "$cartella/CMakeCache.txt" ] || cmake -S "$radice" -B "$cartella" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$cartella" -j2 --target brenk-zelm brenk-sim brenk_compressi >/dev/null
rm -f "$cartella"/brenk-zelm_*.deb
(cd "$cartella" && cpack -G DEB >/dev/null)
pacchetto="$(echo "$cartella"/brenk-zelm_*.deb)"

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
echo "Package $(basename "$pacchetto") passed lintian, appstreamcli and desktop-file-validate."
