# The Debian package: `cpack -G DEB` in a build tree packs whatever `cmake --install` puts into
# /usr there (scripts/package.sh makes a release build for it). The dependencies on the Qt and C++
# libraries are read from the programs by dpkg-shlibdeps, so they follow the libraries the build
# really links. Desktop caches need no maintainer scripts: dpkg's triggers of shared-mime-info,
# desktop-file-utils and hicolor-icon-theme update the MIME database, the desktop entry cache and
# the icon cache when the package puts files in their folders.
set(NOTARIUM_PACKAGE_MAINTAINER "Notarium Developers <dev@notarium.io>"
  CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME notarium)
set(CPACK_PACKAGE_VENDOR "The Notarium Developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${NOTARIUM_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "outline note pad with a tree of plain-text notes")
set(CPACK_PACKAGE_DESCRIPTION [[
Notarium keeps notes as an outline: a tree of categories, memos and results,
each with a title and a plain-text body. The outline is built in the tree on
the left, the text of the selected note is written on the right.

It searches and replaces through the whole document, keeps bookmarks and
templates, exports the outline as a text file, hands a note to an external
editor and collects clipboard text into memos. Documents are stored as
Shift-JIS data files, the format of earlier versions, so their files open
unchanged; a save never leaves a half-written file behind.

The package also contains notarium-cli, which reads, searches, converts and
exports documents from the command line, and notarium-loader, which keeps the
tray icon and the global menu key while no window is open.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME notarium)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG icons of menus and tool bars are drawn by Qt's SVG icon engine, a plugin the programs do
# not link; without it they would show no icons at all.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6 (>= 6.4)")
# Japanese input through fcitx5 (Qt's own ibus plugin is in libqt6gui6), Japanese fonts, Qt's
# dialogs and context menus in Japanese, and xdg-open as the text editor of last resort.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fcitx5-frontend-qt6, fonts-ipafont-gothic, qt6-translations-l10n, xdg-utils")
# Printing goes through lp.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups-client")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
