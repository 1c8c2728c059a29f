# Linux-only tests: the kernel services and the Qt widget set (offscreen).
file(GLOB platform_sources CONFIGURE_DEPENDS platform/linux/*.cpp)
brisko_test(linux_platform_tests SOURCES ${platform_sources} LIBS brisko_linux brisko_helper_server)
target_compile_definitions(linux_platform_tests PRIVATE BRISKO_HELPER="$<TARGET_FILE:brisko-helper>")
add_dependencies(linux_platform_tests brisko-helper)

file(GLOB qt_sources CONFIGURE_DEPENDS backend/qt/*.cpp)
brisko_test(qt_backend_tests SOURCES ${qt_sources} LIBS brisko_qt brisko_linux ENV QT_QPA_PLATFORM=offscreen)
