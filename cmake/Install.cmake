# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# `cmake --install` (DESTDIR and CMAKE_INSTALL_PREFIX honoured). The program
# looks for its cursor and its skin in its own folder, so it lives with them
# in lib/trelvanix/, and bin/ holds a link to it; the program resolves the
# link to find that folder.
include(GNUInstallDirs)

# Not CMAKE_INSTALL_LIBDIR: the program is the same for every architecture
# and belongs in the folder without a multiarch triplet.
set(TRELVANIX_INSTALL_PROGRAMDIR lib/trelvanix CACHE STRING
    "Folder of the program and its cursor, under the prefix")

install(TARGETS trelvanix RUNTIME DESTINATION ${TRELVANIX_INSTALL_PROGRAMDIR})
install(FILES ${CMAKE_BINARY_DIR}/HAND-M.CUR DESTINATION ${TRELVANIX_INSTALL_PROGRAMDIR})

# A relative link, so that the installed tree may be moved as a whole (a
# package unpacked elsewhere, a DESTDIR).
file(RELATIVE_PATH linkTarget /${CMAKE_INSTALL_BINDIR}
    /${TRELVANIX_INSTALL_PROGRAMDIR}/trelvanix)
set(programLink ${CMAKE_BINARY_DIR}/install-link/trelvanix)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-link)
file(CREATE_LINK ${linkTarget} ${programLink} SYMBOLIC)
install(FILES ${programLink} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES skins/o.cjs DESTINATION ${CMAKE_INSTALL_DATADIR}/trelvanix/skins)

# The menu entry and its icon in the hicolor theme, drawn at build time by
# the app-icons target, and the same picture as a scalable drawing.
# The entry names the program by its installed path, not the link: KWin lends
# its window list only to a program whose menu entry's Exec is its real path.
set(desktopEntry ${CMAKE_BINARY_DIR}/install-desktop/trelvanix.desktop)
install(CODE "
    set(program \"\${CMAKE_INSTALL_PREFIX}/${TRELVANIX_INSTALL_PROGRAMDIR}/trelvanix\")
    configure_file(${CMAKE_SOURCE_DIR}/packaging/trelvanix.desktop.in ${desktopEntry} @ONLY)")
install(FILES ${desktopEntry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size ${TRELVANIX_ICON_SIZES})
    install(FILES ${CMAKE_BINARY_DIR}/icons/trelvanix-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME trelvanix.png)
endforeach()
install(FILES packaging/trelvanix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The files that name the version take it from project().
set(versioned ${CMAKE_BINARY_DIR}/versioned)
foreach(file io.github.trelvanix.trelvanix.metainfo.xml trelvanix.1 debian/changelog)
    configure_file(packaging/${file}.in ${versioned}/${file} @ONLY)
endforeach()
install(FILES ${versioned}/io.github.trelvanix.trelvanix.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian wants the manual page and the changelog compressed, without the
# time stamp that would make each build's package differ.
find_program(GZIP gzip REQUIRED)
set(docDir ${CMAKE_BINARY_DIR}/package-doc)
file(MAKE_DIRECTORY ${docDir})
foreach(pair "trelvanix.1;trelvanix.1.gz" "debian/changelog;changelog.gz")
    list(GET pair 0 source)
    list(GET pair 1 packed)
    add_custom_command(OUTPUT ${docDir}/${packed}
        COMMAND ${GZIP} -9nc ${versioned}/${source} > ${docDir}/${packed}
        DEPENDS ${versioned}/${source})
    list(APPEND packedDocs ${docDir}/${packed})
endforeach()
add_custom_target(package-docs ALL DEPENDS ${packedDocs})
install(FILES ${docDir}/trelvanix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docDir}/changelog.gz packaging/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trelvanix)
