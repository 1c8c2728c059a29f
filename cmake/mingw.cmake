# Shared part of the Windows toolchain files (mingw-i686.cmake, mingw-x86_64.cmake): MinGW-w64 with POSIX
# threads, static executables, test executables run under Wine. The including file sets
# _brisko_triple, _brisko_deps (the folder under build/deps), _brisko_prefix (the Wine prefix under
# build/), _brisko_winearch and _brisko_wine (the Wine loader).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${_brisko_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_brisko_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_brisko_triple}-windres)

# Toolchain files are read before project(): locate the source tree from this file.
get_filename_component(_brisko_src "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(BRISKO_WIN32_DEPS "${_brisko_src}/build/deps/${_brisko_deps}" CACHE PATH "Prefix of the Windows dependencies (scripts/win32-deps)")
if(DEFINED ENV{WINEPREFIX})
  set(_brisko_wineprefix "$ENV{WINEPREFIX}")
else()
  set(_brisko_wineprefix "${_brisko_src}/build/${_brisko_prefix}")
endif()
set(BRISKO_WINEPREFIX "${_brisko_wineprefix}" CACHE PATH "Wine prefix the tests run in (scripts/wine-prefix)")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BRISKO_WIN32_DEPS BRISKO_WINEPREFIX)

set(CMAKE_FIND_ROOT_PATH "${BRISKO_WIN32_DEPS}" /usr/${_brisko_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest (and add_custom_command on built executables) run Windows programs through Wine, in the project's prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${BRISKO_WINEPREFIX} WINEARCH=${_brisko_winearch}
  "WINEDLLOVERRIDES=mscoree=;mshtml=" WINEDEBUG=-all ${_brisko_wine})
