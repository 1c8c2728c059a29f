# CMake toolchain file for the x86-64 build of the Windows edition: x86_64-w64-mingw32; tests under
# 64-bit Wine in build/wine64, through its 64-bit loader (the wine wrapper would pick the 32-bit one
# wherever wine32 is installed, even on a kernel that cannot run it). Packages are looked for in
# build/deps/win64 (scripts/win32-deps x86_64).
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake ...
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(_brisko_triple x86_64-w64-mingw32)
set(_brisko_deps win64)
set(_brisko_prefix wine64)
set(_brisko_winearch win64)
set(_brisko_wine WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
