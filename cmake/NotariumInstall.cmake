# What `cmake --install` puts where a Linux desktop looks for it: the programs in bin, the desktop
# entry, the MIME types of the data and template files, the icon, the AppStream description, and
# the program's read-only data (Default.key, the help pages) in share/notarium, where the program
# finds them beside its own folder.
include(GNUInstallDirs)

install(TARGETS notarium-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOTARIUM_BUILD_UI)
  install(TARGETS notarium RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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
endif()
