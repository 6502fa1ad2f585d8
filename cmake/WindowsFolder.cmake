# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows program as a folder that runs where it is copied, and its zip:
# the program, the Qt and compiler run-time DLLs, the platform plugin, the
# style, the icon reader that reads the cursor, the cursor and the example
# skin. Built by the windows-folder target.

# The compiler's own run-time DLLs, which MinGW programs need beside them.
set(TRELVANIX_RUNTIME_DLLS)
if(MINGW)
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "The compiler's ${dll} was not found: the folder would not run")
        endif()
        get_filename_component(path "${path}" REALPATH)
        list(APPEND TRELVANIX_RUNTIME_DLLS ${path})
    endforeach()
endif()

set(folder ${CMAKE_BINARY_DIR}/Trelvanix)

# The licences of what the folder holds, and where Qt's source is.
set(notices ${CMAKE_BINARY_DIR}/notices)
set(qtSourceNotice ${QT6_INSTALL_PREFIX}/trelvanix-qt-source.txt)
set(licenceFiles Qt-LGPL-3.0)
if(EXISTS ${qtSourceNotice})
    file(READ ${qtSourceNotice} TRELVANIX_QT_SOURCE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${qtSourceNotice})
    # What that source builds into the DLLs, written from it by scripts/qt-attributions.py.
    string(APPEND TRELVANIX_QT_SOURCE "The libraries and data that it builds into them (zlib, libpng,
FreeType, HarfBuzz, PCRE2 and others) are listed with their licences in
licenses\\Qt-bundled.txt.\n")
    list(APPEND licenceFiles Qt-bundled)
else()
    string(REGEX MATCH "^[0-9]+\\.[0-9]+" qtSeries ${Qt6_VERSION})
    set(TRELVANIX_QT_SOURCE "Qt's source for this version is published by The Qt Company:
    https://download.qt.io/archive/qt/${qtSeries}/${Qt6_VERSION}/\n")
endif()
set(TRELVANIX_RUNTIME_NOTICE)
if(MINGW)
    # The run-time libraries are those of the compiler that built the program.
    set(gcc ${CMAKE_CXX_COMPILER_VERSION})
    string(APPEND TRELVANIX_RUNTIME_NOTICE
        "GCC ${gcc}'s run-time libraries: libstdc++-6.dll, libgcc_s_seh-1.dll\n"
        "    Under the GNU General Public License, version 3, with the GCC Runtime\n"
        "    Library Exception, in licenses\\GCC-exception-3.1.txt. GCC's source:\n"
        "    https://ftp.gnu.org/gnu/gcc/gcc-${gcc}/\n\n"
        "mingw-w64's POSIX threads (winpthreads): libwinpthread-1.dll\n"
        "    In licenses\\winpthreads.txt. Its source: https://www.mingw-w64.org/\n")
    list(APPEND licenceFiles GCC-exception-3.1 winpthreads)
endif()
configure_file(packaging/windows/THIRD-PARTY-NOTICES.txt.in ${notices}/THIRD-PARTY-NOTICES.txt @ONLY)
set(noticeCopies COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${folder}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${notices}/THIRD-PARTY-NOTICES.txt ${folder})
set(noticeSources ${CMAKE_SOURCE_DIR}/LICENSE ${notices}/THIRD-PARTY-NOTICES.txt)
foreach(name ${licenceFiles})
    set(source ${CMAKE_SOURCE_DIR}/packaging/windows/notices/LICENSE.${name}.txt)
    list(APPEND noticeCopies COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/licenses/${name}.txt)
    list(APPEND noticeSources ${source})
endforeach()
# Each binary of the folder, named once: copied there, and stripped of the
# debugging symbols that would make the zip three times as large.
set(copies)
set(binaries)
macro(trelvanix_gather subfolder file name)
    list(APPEND copies COMMAND ${CMAKE_COMMAND} -E copy ${file} ${folder}/${subfolder})
    list(APPEND binaries ${folder}/${subfolder}/${name})
endmacro()
foreach(target trelvanix Qt6::Core Qt6::Gui Qt6::Widgets)
    trelvanix_gather(. $<TARGET_FILE:${target}> $<TARGET_FILE_NAME:${target}>)
endforeach()
foreach(dll ${TRELVANIX_RUNTIME_DLLS})
    get_filename_component(name ${dll} NAME)
    trelvanix_gather(. ${dll} ${name})
endforeach()
foreach(plugin platforms:QWindowsIntegrationPlugin styles:QWindowsVistaStylePlugin
        imageformats:QICOPlugin)
    string(REPLACE ":" ";" plugin ${plugin})
    list(GET plugin 0 subfolder)
    list(GET plugin 1 target)
    trelvanix_gather(${subfolder} $<TARGET_FILE:Qt6::${target}> $<TARGET_FILE_NAME:Qt6::${target}>)
endforeach()
set(strip ${CMAKE_COMMAND} -E true)
if(CMAKE_STRIP)
    set(strip ${CMAKE_STRIP} --strip-unneeded ${binaries})
endif()
set(zip ${CMAKE_BINARY_DIR}/Trelvanix-${PROJECT_VERSION}-windows-x64.zip)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder} ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/platforms ${folder}/styles
            ${folder}/imageformats ${folder}/skins ${folder}/licenses
    ${copies}
    ${noticeCopies}
    COMMAND ${strip}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/HAND-M.CUR ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/skins/o.cjs ${folder}/skins
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Trelvanix
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS trelvanix hand-cursor ${CMAKE_SOURCE_DIR}/skins/o.cjs ${noticeSources}
    COMMENT "Gathering the Windows program's folder and zip")
add_custom_target(windows-folder DEPENDS ${zip})

# The folders that a program of this build finds its DLLs in, when run
# from the build folder.
set(TRELVANIX_DLL_FOLDERS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
foreach(file ${TRELVANIX_RUNTIME_DLLS})
    get_filename_component(dir ${file} DIRECTORY)
    list(APPEND TRELVANIX_DLL_FOLDERS ${dir})
endforeach()
list(REMOVE_DUPLICATES TRELVANIX_DLL_FOLDERS)
