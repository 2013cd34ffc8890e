# SPDX-License-Identifier: GPL-3.0-or-later
# Qt's headers are most of what each file compiles, so they are precompiled
# once per build folder and layer, and reused:
# - BRENK_INTESTAZIONI_CORE: Qt Core and the standard library, for the
#   parameters, the link, the operations, the simulator and their tests
#   (brenk_params precompiles them; the fuzzers use the list too);
# - BRENK_INTESTAZIONI_FINESTRE: those and the widgets, for the windows and
#   what uses them (brenk_ui precompiles them).
# GCC takes a precompiled header only when the flags and the definitions it
# depends on match (-Winvalid-pch makes a misfit an error): the serial
# port's header stays out, as the parameters do not link it.
set(BRENK_INTESTAZIONI_CORE
  <QByteArray> <QElapsedTimer> <QFile> <QList> <QMap> <QObject> <QSocketNotifier>
  <QString> <QStringList> <QTimer>
  <algorithm> <array> <coroutine> <cstdint> <functional> <memory> <numeric> <optional>)
set(BRENK_INTESTAZIONI_FINESTRE ${BRENK_INTESTAZIONI_CORE}
  <QApplication> <QComboBox> <QLabel> <QLineEdit> <QMessageBox> <QPainter> <QPushButton> <QWidget>)

# brenk_intestazioni(<target> CORE|FINESTRE): <target> reuses the layer's
# precompiled headers.
function(brenk_intestazioni target livello)
  if(livello STREQUAL "FINESTRE")
    target_precompile_headers(${target} REUSE_FROM brenk_ui)
  else()
    target_precompile_headers(${target} REUSE_FROM brenk_params)
  endif()
endfunction()
