# Cross-compiles for 64-bit Windows with Debian's mingw-w64. The -posix
# compilers are named on purpose: the default -win32 ones have no std::mutex,
# condition_variable or future.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TRELVANIX_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TRELVANIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELVANIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELVANIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TRELVANIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

