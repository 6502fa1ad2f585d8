# SPDX-FileCopyrightText: 2026 The Trelvanix developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Windows program as Windows expects one: a GUI program, without a console
# window of its own, that carries its icon, its version information and its
# manifest. The tests that run the program's code carry the manifest too, so
# that they see names and titles as the program does.
enable_language(RC)
# For Windows 10 and 11, as the manifest says: the system's headers then
# declare what those have, whatever the compiler's own default.
target_compile_definitions(trelvanix_core PUBLIC _WIN32_WINNT=0x0A00 WINVER=0x0A00)

# Windows writes a version as four numbers, and refuses to start a program
# whose manifest has fewer: 0.1 is 0.1.0.0.
set(quad)
foreach(part MAJOR MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        list(APPEND quad 0)
    else()
        list(APPEND quad ${PROJECT_VERSION_${part}})
    endif()
endforeach()
list(JOIN quad "." TRELVANIX_VERSION_QUAD)
list(JOIN quad "," TRELVANIX_VERSION_COMMAS)

set(resources ${CMAKE_BINARY_DIR}/windows-resources)
set(TRELVANIX_MANIFEST ${resources}/trelvanix.manifest)
set(TRELVANIX_MANIFEST_RC ${resources}/manifest.rc)
set(TRELVANIX_DESCRIPTION ${PROJECT_DESCRIPTION})
configure_file(packaging/windows/trelvanix.manifest.in ${TRELVANIX_MANIFEST} @ONLY)
configure_file(packaging/windows/manifest.rc.in ${TRELVANIX_MANIFEST_RC} @ONLY)
configure_file(packaging/windows/trelvanix.rc.in ${resources}/trelvanix.rc @ONLY)
set_source_files_properties(${TRELVANIX_MANIFEST_RC} PROPERTIES
    OBJECT_DEPENDS ${TRELVANIX_MANIFEST})
set_source_files_properties(${resources}/trelvanix.rc PROPERTIES
    OBJECT_DEPENDS "${TRELVANIX_MANIFEST};${TRELVANIX_MANIFEST_RC};${TRELVANIX_ICO}")

# A program with the manifest among its resources (`resources`, which holds
# it, or the manifest alone).
function(trelvanix_with_manifest target resources)
    target_sources(${target} PRIVATE ${resources})
    if(MSVC)
        # The linker would add a manifest of its own beside it.
        target_link_options(${target} PRIVATE /MANIFEST:NO)
    endif()
endfunction()

trelvanix_with_manifest(trelvanix ${resources}/trelvanix.rc)
# The test tool takes window titles in any script from its command line.
trelvanix_with_manifest(trelvanix-wintool ${TRELVANIX_MANIFEST_RC})
add_dependencies(trelvanix app-icons)
set_target_properties(trelvanix PROPERTIES WIN32_EXECUTABLE ON)
# A GUI program's main() is renamed for the toolkit's WinMain, a define that
# the library's precompiled headers were not made with.
set_source_files_properties(src/main.cpp PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
