# What `cmake --install` puts where a Linux desktop looks for it: the programs in bin, the desktop
# entry, the MIME types of the data and template files, the icon (SVG and the PNG sizes), the
# AppStream description, the manual pages, the copyright and change log, and the program's
# read-only data (Default.key, the help pages) in share/notarium, where the program finds them
# beside its own folder.
include(GNUInstallDirs)

install(TARGETS notarium-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOTARIUM_BUILD_UI)
  install(TARGETS notarium RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS notarium-loader RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${NOTARIUM_BUILD_DATA_DIR}/Default.key DESTINATION ${CMAKE_INSTALL_DATADIR}/notarium)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/help DESTINATION ${CMAKE_INSTALL_DATADIR}/notarium)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/io.notarium.Notarium.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/notarium-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME notarium.xml)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/io.notarium.Notarium.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/notarium.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS NOTARIUM_ICON_SIZES)
    install(FILES ${NOTARIUM_BUILD_ICON_DIR}/${size}x${size}/apps/notarium.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# The manual pages, and the copyright and change log every Debian package carries in
# share/doc/notarium. Compressed as Debian keeps them: gzip -9n puts no name or time in the
# header, so the same text always gives the same bytes.
find_program(NOTARIUM_GZIP gzip REQUIRED)
set(NOTARIUM_BUILD_DOC_DIR ${PROJECT_BINARY_DIR}/share/packaged-doc)
set(NOTARIUM_MAN_PAGES notarium-cli)
if(NOTARIUM_BUILD_UI)
  list(APPEND NOTARIUM_MAN_PAGES notarium notarium-loader)
endif()
set(NOTARIUM_COMPRESSED_DOCS)
foreach(source IN ITEMS ${NOTARIUM_MAN_PAGES} changelog)
  if(source STREQUAL "changelog")
    set(input ${PROJECT_SOURCE_DIR}/resources/debian/changelog)
    set(copy ${NOTARIUM_BUILD_DOC_DIR}/changelog)
  else()
    set(input ${PROJECT_SOURCE_DIR}/resources/man/${source}.1)
    set(copy ${NOTARIUM_BUILD_DOC_DIR}/${source}.1)
  endif()
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${input} ${copy}
    COMMAND ${NOTARIUM_GZIP} -9nf ${copy}
    DEPENDS ${input}
    VERBATIM)
  list(APPEND NOTARIUM_COMPRESSED_DOCS ${copy}.gz)
endforeach()
add_custom_target(notarium_compressed_docs ALL DEPENDS ${NOTARIUM_COMPRESSED_DOCS})
foreach(page IN LISTS NOTARIUM_MAN_PAGES)
  install(FILES ${NOTARIUM_BUILD_DOC_DIR}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${NOTARIUM_BUILD_DOC_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/notarium)
