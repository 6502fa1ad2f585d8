# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows installer: the folder of the windows-folder target as a per-user
# MSI with its dialogues, built with wixl and msibuild by the windows-msi
# target. Where there is no wixl (a build on Windows itself), there is no such
# target.
find_program(TRELVANIX_WIXL wixl)
find_program(TRELVANIX_BASH bash)
if(NOT TRELVANIX_WIXL OR NOT TRELVANIX_BASH)
    message(STATUS "No wixl: the windows-msi target is left out")
    return()
endif()

set(TRELVANIX_BUILD_MSI ${CMAKE_SOURCE_DIR}/scripts/build-msi.sh)
set(TRELVANIX_MSI ${CMAKE_BINARY_DIR}/Trelvanix-${PROJECT_VERSION}-windows-x64.msi)
# The zip is made last of the folder: once it is newer, so is the folder.
add_custom_command(OUTPUT ${TRELVANIX_MSI}
    COMMAND ${TRELVANIX_BASH} ${TRELVANIX_BUILD_MSI} ${CMAKE_BINARY_DIR}/Trelvanix
            ${PROJECT_VERSION} ${TRELVANIX_MSI}
    DEPENDS ${CMAKE_BINARY_DIR}/Trelvanix-${PROJECT_VERSION}-windows-x64.zip ${TRELVANIX_BUILD_MSI}
            ${CMAKE_SOURCE_DIR}/scripts/msi-dialogs.py ${CMAKE_SOURCE_DIR}/packaging/windows/trelvanix.wxs
    COMMENT "Building the Windows installer")
add_custom_target(windows-msi DEPENDS ${TRELVANIX_MSI})
add_dependencies(windows-msi windows-folder)
