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
            ${folder}/imageformats ${folder}/skins
    ${copies}
    COMMAND ${strip}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/HAND-M.CUR ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/skins/o.cjs ${folder}/skins
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Trelvanix
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DEPENDS trelvanix hand-cursor ${CMAKE_SOURCE_DIR}/skins/o.cjs
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
