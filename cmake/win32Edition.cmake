# The Windows edition: OS services in src/platform/win32, the Win32 widget set in src/widgetset/win32, the artwork and the
# version record as Windows resources (resources/windows/brisko.rc), and brisko.exe, a static 32-bit GUI
# program entered at wWinMain. Project code stays warning-free with MinGW too (brisko_warnings).
enable_language(RC)

set(win32_dir ${CMAKE_SOURCE_DIR}/src/platform/win32)
# W functions only; Windows 7 interfaces; no min/max macros over std::min/std::max.
set(win32_definitions UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
# C99 printf formats (%lld, %zu) in the MinGW C library, for the portable code's Format().
foreach(layer IN LISTS BRISKO_LAYERS)
  target_compile_definitions(${layer} PUBLIC __USE_MINGW_ANSI_STDIO=1)
endforeach()
# double arithmetic in SSE registers, rounded to double at every step as on x86-64; x87 doubles keep
# excess precision (300 MB free of 1000 MB gave a memory load of 69 %, not 70 %). long double stays
# the x87 80-bit format. Callbacks from the system may arrive with a 4-byte aligned stack.
foreach(layer IN LISTS BRISKO_LAYERS)
  target_compile_options(${layer} PUBLIC -msse2 -mfpmath=sse -mstackrealign)
endforeach()

# The resources and their lookup. OBJECT libraries, since an archive would drop the resource object:
# nothing refers to it by symbol. Every executable that links brisko_resources gets the compiled .rc as
# one of its own objects. The .rc has a target of its own because windres takes no warning options.
set(rc_file ${CMAKE_SOURCE_DIR}/resources/windows/brisko.rc)
set_source_files_properties(${rc_file} PROPERTIES
  INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/resources;${CMAKE_SOURCE_DIR}/resources/windows"
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/brisko.ico;${CMAKE_SOURCE_DIR}/resources/tray.ico;${CMAKE_SOURCE_DIR}/resources/os.bmp;${CMAKE_SOURCE_DIR}/resources/cpu.bmp;${CMAKE_SOURCE_DIR}/resources/splash.jpg;${CMAKE_SOURCE_DIR}/resources/windows/brisko.manifest")
add_library(brisko_rc OBJECT ${rc_file})
add_library(brisko_resources OBJECT ${win32_dir}/Resources.cpp)
target_sources(brisko_resources INTERFACE $<TARGET_OBJECTS:brisko_rc>)
target_compile_definitions(brisko_resources PRIVATE ${win32_definitions})
target_link_libraries(brisko_resources PUBLIC brisko_core)
brisko_warnings(brisko_resources)

file(GLOB win32_sources CONFIGURE_DEPENDS ${win32_dir}/*.cpp)
list(REMOVE_ITEM win32_sources ${win32_dir}/Resources.cpp)
add_library(brisko_win32 STATIC ${win32_sources})
target_compile_definitions(brisko_win32 PUBLIC ${win32_definitions})
target_link_libraries(brisko_win32 PUBLIC brisko_core shell32 psapi advapi32 ntdll user32 kernel32 wsock32)
brisko_warnings(brisko_win32)

file(GLOB win32_widget_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/widgetset/win32/*.cpp)
add_library(brisko_win32_widgets STATIC ${win32_widget_sources})
target_link_libraries(brisko_win32_widgets PUBLIC brisko_win32 comctl32 user32 gdi32)
brisko_warnings(brisko_win32_widgets)

add_executable(brisko WIN32 src/main/brisko_win32.cpp)
target_link_libraries(brisko PRIVATE brisko_win32_widgets brisko_resources)
target_link_options(brisko PRIVATE -municode)
brisko_warnings(brisko)
