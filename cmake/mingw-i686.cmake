# Cross-compiles the deliverables for 32-bit Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORVEX_MINGW_PREFIX i686-w64-mingw32)
set(ORVEX_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE2 arithmetic instead of x87: every PC that drives a television today has
# it, and under QEMU's user mode x87 code runs about 30 times slower.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
