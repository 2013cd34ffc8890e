# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package: `cpack -G DEB` in the build folder.
# Included after the programs' folders, so that the targets exist here.
include(GNUInstallDirs)

set(BRENK_PACCHETTO ${CMAKE_CURRENT_LIST_DIR})
set(BRENK_DOC ${CMAKE_INSTALL_DATADIR}/doc/brenk-zelm)

# The changelog and the metainfo name the release; they must name this one.
function(brenk_versione_in file regola)
  file(READ ${BRENK_PACCHETTO}/${file} testo)
  string(REGEX MATCH "${regola}" _ "${testo}")
  if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/${file} names release '${CMAKE_MATCH_1}', "
                        "the project is ${PROJECT_VERSION}: add an entry for it")
  endif()
endfunction()
brenk_versione_in(changelog "^brenk-zelm \\(([^)]+)\\)")
brenk_versione_in(brenk-zelm.metainfo.xml "<release version=\"([^\"]+)\"")

# The package's texts take the project's identity (BRENK_SITO,
# BRENK_MANUTENTORE, BRENK_ID_APPSTREAM) where they name @BRENK_...@.
function(brenk_configura file)
  configure_file(${BRENK_PACCHETTO}/${file} ${PROJECT_BINARY_DIR}/pacchetto/${file} @ONLY)
endfunction()

# Debian wants manual pages and the changelog compressed at the highest
# level and without a time stamp, so that the package is the same each build.
set(BRENK_COMPRESSI)
function(brenk_comprimi file)
  brenk_configura(${file})
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/pacchetto/${file}.gz
                     COMMAND gzip -9nkf ${file}
                     WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/pacchetto
                     DEPENDS ${PROJECT_BINARY_DIR}/pacchetto/${file})
  set(BRENK_COMPRESSI ${BRENK_COMPRESSI} ${PROJECT_BINARY_DIR}/pacchetto/${file}.gz PARENT_SCOPE)
endfunction()

# A program, stripped for the package as Debian strips its own: also without
# the compiler's .comment notes. With its manual page.
function(brenk_installa_programma programma)
  install(TARGETS ${programma} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${programma}\")
  endif()")
  brenk_comprimi(${programma}.1)
  install(FILES ${PROJECT_BINARY_DIR}/pacchetto/${programma}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(BRENK_COMPRESSI ${BRENK_COMPRESSI} PARENT_SCOPE)
endfunction()

if(TARGET brenk-zelm)
  brenk_installa_programma(brenk-zelm)
  install(FILES ${BRENK_PACCHETTO}/brenk-zelm.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${BRENK_PACCHETTO}/brenk-zelm.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  brenk_configura(brenk-zelm.metainfo.xml)
  install(FILES ${PROJECT_BINARY_DIR}/pacchetto/brenk-zelm.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${BRENK_ID_APPSTREAM}.metainfo.xml)
endif()

if(TARGET brenk-sim)
  brenk_installa_programma(brenk-sim)
endif()

brenk_comprimi(changelog)
brenk_configura(copyright)
install(FILES ${PROJECT_BINARY_DIR}/pacchetto/changelog.gz ${PROJECT_BINARY_DIR}/pacchetto/copyright
        DESTINATION ${BRENK_DOC})
install(FILES ${BRENK_PACCHETTO}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME brenk-zelm)
add_custom_target(brenk_compressi ALL DEPENDS ${BRENK_COMPRESSI})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenk-zelm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
string(REGEX REPLACE " *<.*" "" CPACK_PACKAGE_VENDOR "${BRENK_MANUTENTORE}")
set(CPACK_PACKAGE_CONTACT "${BRENK_MANUTENTORE}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${BRENK_SITO}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuratore del trasmettitore radio di allarme Brenk")
# One line of the control file each; an empty line is a paragraph break.
set(CPACK_PACKAGE_DESCRIPTION [=[
Legge dalla porta seriale i 64 byte di parametri del trasmettitore personale
di allarme, li mostra per la modifica in una finestra in italiano, controlla
i valori digitati e li riscrive con una conferma per ogni byte. Carica il
blocco di fabbrica UHF o VHF e comanda una trasmissione di prova.

Il pacchetto contiene anche brenk-sim, un trasmettitore simulato su uno
pseudo-terminale, per provare il configuratore senza apparecchio.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Library dependencies come from dpkg-shlibdeps (package dpkg-dev). The
# window also needs a platform plugin, which the Qt libraries only recommend,
# the SVG plugins that draw its icon, and Qt's Italian catalogue; the record
# of codes, Qt's SQLite driver, and for a team's shared record the
# PostgreSQL one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
# Every time inside the package is SOURCE_DATE_EPOCH, by default the last
# commit's: two builds of one commit give the same package, byte for byte.
set(CPACK_PROJECT_CONFIG_FILE ${BRENK_PACCHETTO}/data_sorgente.cmake)
include(CPack)
