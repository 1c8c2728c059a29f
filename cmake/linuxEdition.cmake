# The Linux edition: kernel services in src/platform/linux, the Qt 6 widget set in src/widgetset/qt.
find_library(CAP_LIBRARY cap REQUIRED)

set(resources_cpp ${CMAKE_BINARY_DIR}/generated/EmbeddedResources.cpp)
brisko_embed_resources(${resources_cpp}
  SPLASH ${CMAKE_SOURCE_DIR}/resources/splash.jpg
  MAINICON ${CMAKE_SOURCE_DIR}/resources/brisko.ico
  TRAYICON ${CMAKE_SOURCE_DIR}/resources/tray.ico
  OSLOGO ${CMAKE_SOURCE_DIR}/resources/os.bmp
  CPUCHIP ${CMAKE_SOURCE_DIR}/resources/cpu.bmp)

file(GLOB linux_sources CONFIGURE_DEPENDS src/platform/linux/*.cpp)
# An object library, linked by the executables alone: its objects are always linked in, whatever the
# order of the static libraries whose code looks resources up.
add_library(brisko_resources OBJECT ${resources_cpp} src/platform/linux/Resources.cpp)
target_include_directories(brisko_resources PRIVATE ${CMAKE_SOURCE_DIR}/src)
# The portable code finds its artwork through this edition's resources.

# The kernel services the privileged helper shares with the program: files, /proc text, trimming,
# capabilities and the helper's protocol; nothing of the window framework.
set(kernel_units Files ProcText Trim Capabilities HelperProtocol)
list(TRANSFORM kernel_units PREPEND ${CMAKE_SOURCE_DIR}/src/platform/linux/ OUTPUT_VARIABLE kernel_sources)
list(TRANSFORM kernel_sources APPEND .cpp)
add_library(brisko_linux_kernel STATIC ${kernel_sources})
target_include_directories(brisko_linux_kernel PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(brisko_linux_kernel PUBLIC ${CAP_LIBRARY})
brisko_warnings(brisko_linux_kernel)

list(REMOVE_ITEM linux_sources ${CMAKE_SOURCE_DIR}/src/platform/linux/Resources.cpp ${kernel_sources})
add_library(brisko_linux STATIC ${linux_sources})
target_link_libraries(brisko_linux PUBLIC brisko_core brisko_linux_kernel)
brisko_warnings(brisko_linux)

# brisko-helper: the only privileged code, beside the program.
add_library(brisko_helper_server STATIC src/helper/Helper.cpp)
target_link_libraries(brisko_helper_server PUBLIC brisko_linux_kernel)
brisko_warnings(brisko_helper_server)
add_executable(brisko-helper src/helper/brisko_helper.cpp)
target_link_libraries(brisko-helper PRIVATE brisko_helper_server)
brisko_warnings(brisko-helper)

# The fuzzing build takes the kernel services' parsers alone.
if(BRISKO_FUZZ)
  return()
endif()

find_package(Qt6 REQUIRED COMPONENTS Widgets)
file(GLOB qt_sources CONFIGURE_DEPENDS src/widgetset/qt/*.cpp)
add_library(brisko_qt STATIC ${qt_sources})
target_link_libraries(brisko_qt PUBLIC brisko_core Qt6::Widgets)
brisko_warnings(brisko_qt)

add_executable(brisko src/main/brisko_linux.cpp)
target_link_libraries(brisko PRIVATE brisko_qt brisko_linux brisko_resources)
brisko_warnings(brisko)
