#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Windows stays in reach: compiles every source file under src/ for 64-bit
# Windows with Debian's MinGW-w64 cross compiler. Syntax only
# (-fsyntax-only): no Windows build of Qt is at hand to link against, so the
# Qt headers are those of Debian's Qt 6 packages, and the forms from the .ui
# files come from their uic. moc plays no part in a syntax check.
#
# No -D is needed for the headers to accept the target: Qt takes the
# platform from the compiler (_WIN32 gives Q_OS_WIN and no Q_OS_UNIX), so the
# Windows branches of Qt and of our code are the ones compiled. What stays
# Linux's is the build configuration the headers include (qconfig.h: a shared
# Qt with Linux's feature set); nothing we include depends on a feature that
# differs there. A probe first makes sure the compile is really for Windows.
#
# The Qt headers come in as system headers: for Windows their export macros
# make GCC warn about friend declarations (dllimport), which is Qt's own
# affair. Our code keeps the warnings-as-errors of the real build.
set -euo pipefail
radice="$(cd "$(dirname "$0")/.." && pwd)"
cartella="$radice/build-windows"
"$radice/scripts/dipendenze.sh" g++-mingw-w64-x86-64-posix

compilatore=x86_64-w64-mingw32-g++-posix
qt="$(qtpaths6 --query QT_INSTALL_HEADERS)"
uic="$(qtpaths6 --query QT_HOST_LIBEXECS)/uic"
versione="$(sed -n 's/^project(.* VERSION \([0-9.]*\).*/\1/p' "$radice/CMakeLists.txt")"
sito="$(sed -n 's/^set(BRENK_SITO "\([^"]*\)".*/\1/p' "$radice/CMakeLists.txt")"

opzioni=(-std=c++20 -Wall -Wextra -Wpedantic -Werror -Winvalid-pch
         "-DBRENK_VERSIONE=\"$versione\"" "-DBRENK_SITO=\"$sito\"" -I"$radice/src" -I"$cartella")
for modulo in "" QtCore QtGui QtWidgets QtSerialPort QtSql; do
  opzioni+=(-isystem "$qt/$modulo")
done

mkdir -p "$cartella"
printf '#include <QtGlobal>\n#if !defined(Q_OS_WIN) || defined(Q_OS_UNIX)\n#error not a Windows compile\n#endif\n' \
  | "$compilatore" "${opzioni[@]}" -fsyntax-only -x c++ -

# The headers the build precompiles (cmake/intestazioni.cmake) and the
# serial port's, precompiled once here for every file.
intestazioni="$cartella/intestazioni.h"
grep -v '^#' "$radice/cmake/intestazioni.cmake" | grep -o '<[A-Za-z_]*>' | sort -u \
  | sed 's/^/#include /' >"$intestazioni"
echo '#include <QSerialPort>' >>"$intestazioni"
"$compilatore" "${opzioni[@]}" -x c++-header "$intestazioni" -o "$intestazioni.gch"

while read -r modulo; do
  "$uic" "$modulo" -o "$cartella/ui_$(basename "$modulo" .ui).h"
done < <(find "$radice/src" -name '*.ui')

# A layer's files together, as the unity build compiles them: the headers
# are read once per layer.
mapfile -t sorgenti < <(find "$radice/src" -name '*.cpp' | sort)
for strato in "$radice"/src/*/; do
  nome="$(basename "$strato")"
  find "$strato" -name '*.cpp' | sort | sed 's/.*/#include "&"/' >"$cartella/unity_$nome.cpp"
done
printf '%s\0' "$cartella"/unity_*.cpp | xargs -0 -n1 -P"$(nproc)" "$compilatore" "${opzioni[@]}" \
  -fsyntax-only -include "$intestazioni"
echo "Windows: ${#sorgenti[@]} files under src/ compile for x86_64-w64-mingw32."
