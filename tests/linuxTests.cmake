# Linux-only tests: the kernel services and the Qt widget set (offscreen).
file(GLOB platform_sources CONFIGURE_DEPENDS platform/linux/*.cpp)
brisko_test(linux_platform_tests SOURCES ${platform_sources} LIBS brisko_linux brisko_helper_server)
target_compile_definitions(linux_platform_tests PRIVATE BRISKO_HELPER="$<TARGET_FILE:brisko-helper>")
add_dependencies(linux_platform_tests brisko-helper)

file(GLOB qt_sources CONFIGURE_DEPENDS backend/qt/*.cpp)
brisko_test(qt_backend_tests SOURCES ${qt_sources} LIBS brisko_qt brisko_linux ENV QT_QPA_PLATFORM=offscreen)

# The real program in a real notification area: Xvfb and IceWM, driven with the pointer.
add_test(NAME linux_tray_test
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-desktop ${CMAKE_CURRENT_SOURCE_DIR}/backend/desktop/tray-test $<TARGET_FILE:brisko>)
# On a real display libxkbcommon-x11 strndup()s counted, unterminated strings, which strict string
# checks take for overflows: this test alone runs without them in the sanitizer build.
set_tests_properties(linux_tray_test PROPERTIES TIMEOUT 120 ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0")

# Every libFuzzer target replays its kept inputs (fuzz/corpus/NAME: the seeds and every input that
# ever found a fault, and the files its source names as seeds) in this build and the sanitizer build.
file(GLOB fuzz_targets CONFIGURE_DEPENDS fuzz/*Fuzz.cpp)
foreach(source ${fuzz_targets})
  get_filename_component(name ${source} NAME_WE)
  file(STRINGS ${source} named_seeds REGEX "^// libFuzzer seeds: ")
  list(TRANSFORM named_seeds REPLACE "^// libFuzzer seeds: " "")
  separate_arguments(named_seeds UNIX_COMMAND "${named_seeds}")
  list(TRANSFORM named_seeds PREPEND ${CMAKE_SOURCE_DIR}/)
  add_executable(${name}Replay ${source} fuzz/Replay.cpp)
  target_link_libraries(${name}Replay PRIVATE brisko_test_support brisko_linux brisko_resources)
  brisko_warnings(${name}Replay)
  add_test(NAME ${name}Replay COMMAND ${name}Replay ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name} ${named_seeds})
endforeach()

# The include test: every include under src/ keeps to the layer table (src/Layers.txt), and no two
# units include each other.
add_test(NAME layers_test COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/layers/check-layers ${CMAKE_SOURCE_DIR}/src)
