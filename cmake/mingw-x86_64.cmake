# Cross-compiles the same sources for 64-bit Windows. Used to run the
# Windows-side tests on machines whose kernel cannot execute 32-bit code
# (where 32-bit Wine cannot start); the deliverables are the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ORVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(ORVEX_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
