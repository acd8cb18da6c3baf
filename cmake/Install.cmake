# SPDX-License-Identifier: GPL-3.0-or-later
# Where `cmake --install` puts Pellimo: the commands in bin, the widget module, which only the
# commands start, in libexec, and what the desktop needs to list it.
install(TARGETS pellimo pellimo-ansi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS pellimo-widget RUNTIME DESTINATION ${PELLIMO_INSTALL_WIDGETDIR})
install(FILES data/org.pellimo.Pellimo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/org.pellimo.Pellimo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/org.pellimo.Pellimo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES LICENSE README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pellimo)
