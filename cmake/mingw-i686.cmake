# CMake toolchain file for the Windows edition as specified: 32-bit i686-w64-mingw32; tests under 32-bit
# Wine in build/wine. Packages are looked for in build/deps/win32 (scripts/win32-deps).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake ...
set(CMAKE_SYSTEM_PROCESSOR x86)
set(_brisko_triple i686-w64-mingw32)
set(_brisko_deps win32)
set(_brisko_prefix wine)
set(_brisko_winearch win32)
set(_brisko_wine wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
