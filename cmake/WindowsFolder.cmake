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
set(binaries ${folder}/$<TARGET_FILE_NAME:trelvanix>)
foreach(file $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        ${TRELVANIX_RUNTIME_DLLS})
    list(APPEND binaries ${folder}/$<PATH:GET_FILENAME,${file}>)
endforeach()
list(APPEND binaries ${folder}/platforms/$<TARGET_FILE_NAME:Qt6::QWindowsIntegrationPlugin>
    ${folder}/styles/$<TARGET_FILE_NAME:Qt6::QWindowsVistaStylePlugin>
    ${folder}/imageformats/$<TARGET_FILE_NAME:Qt6::QICOPlugin>)
# Debugging symbols would make the zip three times as large.
set(strip ${CMAKE_COMMAND} -E true)
if(CMAKE_STRIP)
    set(strip ${CMAKE_STRIP} --strip-unneeded ${binaries})
endif()
set(zip ${CMAKE_BINARY_DIR}/Trelvanix-${PROJECT_VERSION}-windows-x64.zip)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${folder} ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/platforms ${folder}/styles
            ${folder}/imageformats ${folder}/skins
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:trelvanix> ${CMAKE_BINARY_DIR}/HAND-M.CUR
            $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
            ${TRELVANIX_RUNTIME_DLLS} ${folder}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
            ${folder}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> ${folder}/styles
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Qt6::QICOPlugin> ${folder}/imageformats
    COMMAND ${strip}
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
