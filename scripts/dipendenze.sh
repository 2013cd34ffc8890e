#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the configurator needs to build, run and test,
# and any further packages named as arguments. The record of codes takes Qt's
# SQLite and PostgreSQL drivers. The tests' PostgreSQL server (package
# postgresql) is named by scripts/postgres_prova.sh and the test command
# only: installed, Debian starts a cluster of its own at every boot, which
# the run command has no use for. The handover sheet's test reads its PDF
# with pdftotext (poppler-utils), which the test command asks for too.
set -euo pipefail

pacchetti=(cmake ninja-build g++ make qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
           qt6-qpa-plugins libqt6svg6 qt6-translations-l10n libx11-dev fonts-dejavu-core xvfb xauth
           libqt6sql6-sqlite libqt6sql6-psql "$@")

mancanti=()
for p in "${pacchetti[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || mancanti+=("$p")
done
[ ${#mancanti[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# Another installation running on the same machine is waited for.
$sudo apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "${mancanti[@]}"
