# Shared part of the mingw-w64 tool chain files; ORVEX_MINGW_PREFIX names the target.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ORVEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVEX_MINGW_PREFIX}-windres)
set(ORVEX_WIDL ${ORVEX_MINGW_PREFIX}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine of the matching architecture through this
# wrapper (prefix, display, code page).
set(CMAKE_CROSSCOMPILING_EMULATOR
    env ORVEX_WINEARCH=${ORVEX_WINEARCH} ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
