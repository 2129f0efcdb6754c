# 32-bit Windows: the program itself.
set(SKIMDEX_MINGW_CPU i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
