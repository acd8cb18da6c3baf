# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package (`scripts/package`): the install tree under /usr, with the copyright file
# and changelog Debian keeps in the package's doc folder in place of the plain licence, and
# dependencies worked out from the binaries by dpkg-shlibdeps.
set(PELLIMO_PACKAGE_MAINTAINER "The Pellimo developers <pellimo@example.org>"
    CACHE STRING "The Debian package's maintainer: a name and an address in angle brackets")
set(PELLIMO_DEBIAN_REVISION 1 CACHE STRING "The Debian revision of the package")
set(PELLIMO_DEBIAN_VERSION ${PROJECT_VERSION}-${PELLIMO_DEBIAN_REVISION})

# SOURCE_DATE_EPOCH, when set, dates the changelog, so that a rebuild makes the same package.
string(TIMESTAMP PELLIMO_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(debianDir ${PROJECT_BINARY_DIR}/debian)
configure_file(data/debian/changelog.in ${debianDir}/changelog.Debian @ONLY)
execute_process(COMMAND gzip -9nf ${debianDir}/changelog.Debian COMMAND_ERROR_IS_FATAL ANY)
install(FILES data/debian/copyright ${debianDir}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pellimo COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellimo)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_INSTALL_CMAKE_PROJECTS
    ${PROJECT_BINARY_DIR} Pellimo pellimo /
    ${PROJECT_BINARY_DIR} Pellimo debian /)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${PELLIMO_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PELLIMO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, where dpkg-shlibdeps cannot see them: Qt's X11 platform plugin, its SVG
# icon engine for the tray's icon, and a session bus, on which the widgets take their commands.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-dbus-session-bus | dbus-session-bus")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3, ruby")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "desktop widgets that show the output of your own scripts
A Pellimo widget runs one shell, Ruby or Python script again and again and
shows what it prints, ANSI colours and underlines included, on a borderless
window that lies on the desktop beneath ordinary windows.

Raise a widget to move, resize and configure it; its editor holds the script,
its language, arguments, reload interval, time limit, font and colours. The
pellimo command makes, launches and drives widgets; pellimo-ansi translates
ANSI-coloured text to JSON or HTML.")
include(CPack)
