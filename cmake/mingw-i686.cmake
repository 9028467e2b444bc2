# Cross-compiles the deliverables for 32-bit Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORVEX_MINGW_PREFIX i686-w64-mingw32)
set(ORVEX_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
