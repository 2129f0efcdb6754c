# 64-bit Windows: the same program for a Wine that runs no 32-bit code natively.
set(SKIMDEX_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
