# The Qt side: notarium_ui (windows, models, dialogs, the platform layer) and the notarium program.
# Every folder under src/ belongs to it except the core, the command-line tool and main.cpp, so a
# new subsystem folder needs no line here.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Svg Network Test)
set(CMAKE_AUTOMOC ON)

file(GLOB_RECURSE NOTARIUM_UI_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
list(FILTER NOTARIUM_UI_SOURCES EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/src/(core|cli|loader)/")
list(REMOVE_ITEM NOTARIUM_UI_SOURCES ${PROJECT_SOURCE_DIR}/src/main.cpp)
add_library(notarium_ui STATIC ${NOTARIUM_UI_SOURCES})
target_include_directories(notarium_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(notarium_ui PUBLIC notarium_core Qt6::Widgets Qt6::Svg)
target_compile_definitions(notarium_ui PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
  NOTARIUM_VERSION="${PROJECT_VERSION}")

# Icons, help pages and the desktop files the shell integration writes, compiled into the library.
file(GLOB_RECURSE NOTARIUM_RESOURCE_FILES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/icons/* ${PROJECT_SOURCE_DIR}/resources/help/* ${PROJECT_SOURCE_DIR}/resources/desktop/*)
if(NOTARIUM_RESOURCE_FILES)
  qt_add_resources(notarium_ui "notarium_resources" PREFIX "/" BASE ${PROJECT_SOURCE_DIR}/resources
    FILES ${NOTARIUM_RESOURCE_FILES})
endif()

add_executable(notarium ${PROJECT_SOURCE_DIR}/src/main.cpp)
target_link_libraries(notarium PRIVATE notarium_ui)

# The companion loader of resident mode (tray icon, global menu key), installed beside the program.
find_package(X11 REQUIRED)
file(GLOB NOTARIUM_LOADER_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/loader/*.cpp ${PROJECT_SOURCE_DIR}/src/loader/*.h)
add_executable(notarium-loader ${NOTARIUM_LOADER_SOURCES})
target_link_libraries(notarium-loader PRIVATE notarium_ui Qt6::Network X11::X11 X11::xcb)

# Default.key, the default key set the key customisation restores, is written from the command
# table at build time, so the two cannot drift apart. The program finds it installed in
# ../share/notarium beside its folder, or here in the build tree.
set(NOTARIUM_BUILD_DATA_DIR ${PROJECT_BINARY_DIR}/share/notarium)
add_executable(notarium-default-key ${PROJECT_SOURCE_DIR}/tools/gen_default_key.cpp)
target_link_libraries(notarium-default-key PRIVATE notarium_ui)
add_custom_command(OUTPUT ${NOTARIUM_BUILD_DATA_DIR}/Default.key
  COMMAND ${CMAKE_COMMAND} -E make_directory ${NOTARIUM_BUILD_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
    $<TARGET_FILE:notarium-default-key> ${NOTARIUM_BUILD_DATA_DIR}/Default.key
  DEPENDS notarium-default-key
  COMMENT "Writing Default.key from the command table"
  VERBATIM)
add_custom_target(notarium_default_key ALL DEPENDS ${NOTARIUM_BUILD_DATA_DIR}/Default.key)
# Only the file that looks for it needs the folder; the rest of the library is not rebuilt.
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/platform/AppPaths.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS NOTARIUM_BUILD_DATA_DIR="${NOTARIUM_BUILD_DATA_DIR}")

# The icon in the PNG sizes of the hicolor theme, for menus and docks that do not scale the SVG
# themselves, rendered from it at build time into share/icons beside Default.key.
set(NOTARIUM_ICON_SIZES 16 22 24 32 48 64 128 256)
set(NOTARIUM_BUILD_ICON_DIR ${PROJECT_BINARY_DIR}/share/icons/hicolor)
add_executable(notarium-gen-icons ${PROJECT_SOURCE_DIR}/tools/gen_icons.cpp)
target_link_libraries(notarium-gen-icons PRIVATE Qt6::Svg Qt6::Gui)
list(TRANSFORM NOTARIUM_ICON_SIZES REPLACE "^(.+)$" "${NOTARIUM_BUILD_ICON_DIR}/\\1x\\1/apps/notarium.png"
  OUTPUT_VARIABLE NOTARIUM_ICON_PNGS)
add_custom_command(OUTPUT ${NOTARIUM_ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:notarium-gen-icons>
    ${PROJECT_SOURCE_DIR}/resources/icons/notarium.svg ${NOTARIUM_BUILD_ICON_DIR} notarium ${NOTARIUM_ICON_SIZES}
  DEPENDS notarium-gen-icons ${PROJECT_SOURCE_DIR}/resources/icons/notarium.svg
  COMMENT "Rendering the PNG icons"
  VERBATIM)
add_custom_target(notarium_icons ALL DEPENDS ${NOTARIUM_ICON_PNGS})
