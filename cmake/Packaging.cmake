# What a package installs, and the Debian package CPack builds from it (scripts/package).
if(WIN32)
  install(TARGETS brisko RUNTIME DESTINATION .)
  install(FILES resources/Help.htm DESTINATION .)
  return()
endif()

include(GNUInstallDirs)
install(TARGETS brisko RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Found there by the program when it is not beside it.
install(TARGETS brisko-helper RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/brisko)
install(FILES resources/linux/brisko.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/linux/brisko.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES resources/linux/brisko-32.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
        RENAME brisko.png)
install(FILES resources/Help.htm DESTINATION ${CMAKE_INSTALL_DATADIR}/brisko)
install(FILES resources/linux/brisko.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Brisko developers <brisko@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "processor and memory monitor that frees physical memory")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Brisko watches the processor load and the memory of the machine and frees physical memory\n on request or automatically, with a window and a notification-area icon (Simplified Chinese).")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins (X11, Wayland) are loaded at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
