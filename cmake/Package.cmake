# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# `make package`: a Debian package of what `cmake --install` puts under /usr,
# with its dependencies computed from the program's libraries.

# One script serves as both: it refreshes the desktop's caches.
foreach(script postinst postrm)
    configure_file(packaging/debian/refresh-caches ${CMAKE_BINARY_DIR}/debian/${script} COPYONLY)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvanix)
set(CPACK_PACKAGE_VENDOR ${TRELVANIX_VENDOR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "end many running programs and windows at once")
set(CPACK_PACKAGE_DESCRIPTION "\
Trelvanix lists every running process and every visible, titled window,
each with a check box. Tick what should go, by hand or by a part of its
name, and end them all with one button. The list refreshes on demand or
every few seconds, the window can stay on top, and it minimises to the
notification area.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Trelvanix developers <trelvanix@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_BINARY_DIR}/debian/postinst ${CMAKE_BINARY_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
