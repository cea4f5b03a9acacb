# Cross build for 32-bit Windows: the shipped korvane.exe.
set(mingw_processor i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
