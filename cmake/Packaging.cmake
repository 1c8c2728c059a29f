# What a package installs, and the Debian package CPack builds from it (scripts/package).
if(WIN32)
  install(TARGETS brisko RUNTIME DESTINATION .)
  install(FILES resources/Help.htm DESTINATION .)
  # The installer (target brisko-setup) is made by the i686 build, from its executable and, for
  # 64-bit Windows, the x86-64 build's (scripts/package and scripts/test build that one first).
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    return()
  endif()
  set(BRISKO_EXE64 "" CACHE FILEPATH "The x86-64 build's brisko.exe, which the installer puts on 64-bit Windows")
  set(exe64)
  if(BRISKO_EXE64)
    set(exe64 -DEXE64=${BRISKO_EXE64})
  endif()
  find_program(MAKENSIS makensis REQUIRED)
  set(BRISKO_SETUP ${CMAKE_BINARY_DIR}/brisko-${PROJECT_VERSION}-setup.exe)
  set(nsi ${CMAKE_SOURCE_DIR}/resources/windows/brisko.nsi)
  add_custom_command(OUTPUT ${BRISKO_SETUP}
    COMMAND ${MAKENSIS} -V2 -DEXE=$<TARGET_FILE:brisko> ${exe64} -DHELP=${CMAKE_SOURCE_DIR}/resources/Help.htm
            -DICON=${CMAKE_SOURCE_DIR}/resources/brisko.ico -DVERSION=${PROJECT_VERSION}.0
            -DOUTFILE=${BRISKO_SETUP} ${nsi}
    DEPENDS brisko ${BRISKO_EXE64} ${nsi} ${CMAKE_SOURCE_DIR}/resources/Help.htm VERBATIM)
  add_custom_target(brisko-setup DEPENDS ${BRISKO_SETUP})
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
# pkexec runs the installed helper for ordinary users of an active session (Processes.h).
install(FILES resources/linux/org.brisko.trim.policy DESTINATION ${CMAKE_INSTALL_DATADIR}/polkit-1/actions)
install(FILES resources/linux/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian ships the manual page and the changelog compressed at the highest level, without a time stamp.
function(brisko_gzip source target)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${target}
                     COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/${source} > ${CMAKE_BINARY_DIR}/${target}
                     DEPENDS ${CMAKE_SOURCE_DIR}/${source} VERBATIM)
endfunction()
brisko_gzip(resources/linux/brisko.1 brisko.1.gz)
brisko_gzip(resources/linux/changelog changelog.gz)
add_custom_target(brisko-docs ALL DEPENDS ${CMAKE_BINARY_DIR}/brisko.1.gz ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/brisko.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brisko)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The project has no public address yet (.invalid is reserved for exactly that); a release names one.
set(BRISKO_MAINTAINER "Brisko developers <brisko@brisko.invalid>" CACHE STRING "the Debian package's maintainer")
set(CPACK_PACKAGE_CONTACT "${BRISKO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "processor and memory monitor that frees physical memory")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Brisko watches the processor load and the memory of the machine and frees
physical memory on request or automatically, with a window and an icon in
the notification area (in Simplified Chinese). Ordinary users of an active
local session trim other users' programs through pkexec.]=])
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins (X11, Wayland) are loaded at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Without it ordinary users trim what their own rights allow.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS pkexec)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
