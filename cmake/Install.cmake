# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts on the system (prefix /usr/local unless --prefix says otherwise;
# the Debian package installs to /usr): the two programs, their manual pages, the bash
# completion of velmaro-find, the desktop entry with its AppStream metainfo, the icon and the
# licence.

include(GNUInstallDirs)
include(cmake/ProductVersion.cmake)

# The desktop entry and the metainfo are named by the application's reverse-DNS id; the window
# gives the same name to QApplication::setDesktopFileName.
set(VELMARO_APP_ID example.quarnolabs.velmaro)
set(velmaro_docdir ${CMAKE_INSTALL_DATADIR}/doc/velmaro)

install(TARGETS velmaro velmaro-find RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual pages carry the product version and are installed compressed, as man-db reads
# them.
set(velmaro_manuals "")
foreach(page velmaro.1 velmaro-find.1)
    set(page_file ${PROJECT_BINARY_DIR}/man/${page})
    configure_file(${PROJECT_SOURCE_DIR}/man/${page}.in ${page_file} @ONLY)
    add_custom_command(
        OUTPUT ${page_file}.gz
        COMMAND gzip -9nkf ${page_file}
        DEPENDS ${page_file}
        COMMENT "Compressing the manual page ${page}"
        VERBATIM)
    list(APPEND velmaro_manuals ${page_file}.gz)
endforeach()
add_custom_target(velmaro_manuals ALL DEPENDS ${velmaro_manuals})
install(FILES ${velmaro_manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/resources/velmaro-find.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME velmaro-find)

configure_file(${PROJECT_SOURCE_DIR}/resources/${VELMARO_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${VELMARO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${VELMARO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${VELMARO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/images/velmaro.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The licence in full, and the copyright notice in the form Debian reads.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/resources/copyright
        DESTINATION ${velmaro_docdir})
