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
# port's header stays out, as the parameters do not link it. The price: a
# file that forgets to include one of these headers still compiles.
set(BRENK_INTESTAZIONI_CORE
  <QByteArray> <QElapsedTimer> <QFile> <QList> <QMap> <QObject> <QSocketNotifier>
  <QString> <QStringList> <QTimer>
  <algorithm> <array> <coroutine> <cstdint> <functional> <memory> <numeric> <optional>)
set(BRENK_INTESTAZIONI_FINESTRE ${BRENK_INTESTAZIONI_CORE}
  <QApplication> <QComboBox> <QLabel> <QLineEdit> <QMessageBox> <QPainter> <QPushButton> <QWidget>)

# brenk_intestazioni(<target> CORE|FINESTRE): <target> precompiles the
# layer's headers if it is the layer's own library (brenk_params for CORE,
# brenk_ui for FINESTRE), and reuses that library's otherwise. moc's file
# for the target compiles without them: for most targets it is empty, and
# loading a precompiled header would cost it a second.
function(brenk_intestazioni target livello)
  set(libreria brenk_params)
  if(livello STREQUAL "FINESTRE")
    set(libreria brenk_ui)
  endif()
  if(target STREQUAL libreria)
    target_precompile_headers(${target} PRIVATE ${BRENK_INTESTAZIONI_${livello}})
  else()
    target_precompile_headers(${target} REUSE_FROM ${libreria})
  endif()
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
                              PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()
