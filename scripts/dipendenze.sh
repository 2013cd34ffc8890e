#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the configurator needs to build, run and test,
# and any further packages named as arguments.
set -euo pipefail

pacchetti=(cmake ninja-build g++ make qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
           qt6-qpa-plugins libqt6svg6 qt6-translations-l10n libqt6sql6-sqlite libqt6sql6-psql libx11-dev
           fonts-dejavu-core xvfb xauth "$@")

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
