# SPDX-License-Identifier: GPL-3.0-or-later
# Where `cmake --install` puts Pellimo: the commands in bin; the widget module and the tray, which
# only the commands start, in libexec with the widget's editor module; what the desktop needs to
# list it, man pages and shell completions.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME pellimo)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS pellimo pellimo-ansi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pellimo-widget pellimo-tray RUNTIME DESTINATION ${PELLIMO_INSTALL_COMPANIONDIR})
# The widget's editor, a module the widget loads from beside itself.
install(TARGETS pellimo-editor LIBRARY DESTINATION ${PELLIMO_INSTALL_COMPANIONDIR})
install(FILES data/org.pellimo.Pellimo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/org.pellimo.Pellimo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/org.pellimo.Pellimo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pellimo)
# The Debian package carries its copyright file instead.
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pellimo COMPONENT licence)

include(cmake/ManPages.cmake)
install(FILES ${PELLIMO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/completions/pellimo.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME pellimo)
install(FILES data/completions/_pellimo DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES data/completions/pellimo.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

include(cmake/Package.cmake)
