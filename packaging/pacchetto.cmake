# Installation and the Debian package: `cpack -G DEB` in the build folder.
# Included after the programs' folders, so that the targets exist here.
include(GNUInstallDirs)

set(BRENK_PACCHETTO ${CMAKE_CURRENT_LIST_DIR})

if(TARGET brenk-zelm)
  install(TARGETS brenk-zelm RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${BRENK_PACCHETTO}/brenk-zelm.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${BRENK_PACCHETTO}/brenk-zelm.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

if(TARGET brenk-sim)
  install(TARGETS brenk-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${BRENK_PACCHETTO}/brenk-sim.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenk-zelm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brenk configurator developers")
set(CPACK_PACKAGE_CONTACT "Brenk configurator developers <dev@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuratore del trasmettitore radio di allarme Brenk")
set(CPACK_PACKAGE_DESCRIPTION "Legge, modifica e programma sulla porta seriale i parametri \
del trasmettitore. brenk-sim simula il trasmettitore su uno pseudo-terminale.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# Library dependencies come from dpkg-shlibdeps (package dpkg-dev); the
# window also needs a platform plugin, which the Qt libraries only recommend.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
