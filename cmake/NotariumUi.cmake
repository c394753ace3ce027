# The Qt side: notarium_ui (windows, models, dialogs, the platform layer) and the notarium program.
# Every folder under src/ belongs to it except the core, the command-line tool and main.cpp, so a
# new subsystem folder needs no line here.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Svg Test)
set(CMAKE_AUTOMOC ON)

file(GLOB_RECURSE NOTARIUM_UI_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
list(FILTER NOTARIUM_UI_SOURCES EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/src/(core|cli)/")
list(REMOVE_ITEM NOTARIUM_UI_SOURCES ${PROJECT_SOURCE_DIR}/src/main.cpp)
add_library(notarium_ui STATIC ${NOTARIUM_UI_SOURCES})
target_include_directories(notarium_ui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(notarium_ui PUBLIC notarium_core Qt6::Widgets Qt6::Svg)
target_compile_definitions(notarium_ui PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
  NOTARIUM_VERSION="${PROJECT_VERSION}")

# Icons and help pages, compiled into the library.
file(GLOB_RECURSE NOTARIUM_RESOURCE_FILES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/icons/* ${PROJECT_SOURCE_DIR}/resources/help/*)
if(NOTARIUM_RESOURCE_FILES)
  qt_add_resources(notarium_ui "notarium_resources" PREFIX "/" BASE ${PROJECT_SOURCE_DIR}/resources
    FILES ${NOTARIUM_RESOURCE_FILES})
endif()

add_executable(notarium ${PROJECT_SOURCE_DIR}/src/main.cpp)
target_link_libraries(notarium PRIVATE notarium_ui)

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
