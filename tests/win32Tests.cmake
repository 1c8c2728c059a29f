# Windows-only tests, run under Wine: the Win32 services against the real (Wine) system, and the real
# brisko.exe (its resources, and its windows inspected with the Win32 API from a test program on a private
# desktop, under Xvfb).
file(GLOB platform_sources CONFIGURE_DEPENDS platform/win32/*.cpp)
brisko_test(win32_platform_tests SOURCES ${platform_sources} LIBS brisko_win32)

add_executable(win32_gui_tests backend/win32/MainWindowTest.cpp backend/win32/ExecutableTest.cpp)
target_compile_definitions(win32_gui_tests PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(win32_gui_tests PRIVATE GTest::gtest_main user32 version shell32 advapi32)
brisko_warnings(win32_gui_tests)
add_dependencies(win32_gui_tests brisko)
# with-xvfb gives each run an X server of its own; the program under test is started by the test itself.
set(gui_test ${CMAKE_CURRENT_SOURCE_DIR}/backend/win32/with-xvfb ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:win32_gui_tests>)
add_test(NAME win32_gui_tests COMMAND ${gui_test} --gtest_filter=-*Setup*)
set_tests_properties(win32_gui_tests PROPERTIES ENVIRONMENT "BRISKO_EXE=$<TARGET_FILE:brisko>" TIMEOUT 180)
# The installer is the i686 build's (its stub is a 32-bit program, as every NSIS installer's): the
# x86-64 build's run, under 64-bit Wine alone, reports it skipped.
add_test(NAME win32_setup_test COMMAND ${gui_test} --gtest_filter=*Setup*)
if(BRISKO_SETUP)
  add_dependencies(win32_gui_tests brisko-setup)
  set_tests_properties(win32_setup_test PROPERTIES ENVIRONMENT "BRISKO_EXE=$<TARGET_FILE:brisko>;BRISKO_SETUP=${BRISKO_SETUP}")
endif()
set_tests_properties(win32_setup_test PROPERTIES TIMEOUT 180 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")

# The real brisko.exe in a real notification area: Wine's icons dock into IceWM's tray under Xvfb.
add_test(NAME win32_tray_test
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-desktop ${CMAKE_CURRENT_SOURCE_DIR}/backend/desktop/tray-test
          ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:brisko>)
set_tests_properties(win32_tray_test PROPERTIES TIMEOUT 120)
