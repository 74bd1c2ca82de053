# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --build <dir> --target package` (make package): the Debian package
# velmaro_<version>_<arch>.deb in the build folder, made by CPack from the install rules
# (cmake/Install.cmake) with the prefix /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmaro)
set(CPACK_PACKAGE_VERSION ${VELMARO_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Quarno Labs")
set(CPACK_PACKAGE_CONTACT "Quarno Labs <velmaro@quarnolabs.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "junk-file cleaner for the desktop and the command line")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velmaro searches the drives for temporary, recovery, old, backup, log and
error files, build intermediates and index files, lists every match with its
folder, size and date, deletes the files the user leaves checked and ends with
a report. The system's own folders are left alone and symbolic links are never
followed.
.
velmaro-find runs the same search from the command line, for scripts, cron
jobs and systemd timers.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELMARO_PRODUCT_URL})
# The libraries the programs link, found by dpkg-shlibdeps, and what the window loads at run
# time: Qt's SVG icon engine and image plug-in (libqt6svg6 ships them), Qt's own Russian texts
# and the Tahoma font the window is drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n, fonts-wine")

include(CPack)
