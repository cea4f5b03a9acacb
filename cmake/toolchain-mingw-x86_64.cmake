# The same sources for 64-bit Windows, for hosts whose kernel cannot run the 32-bit Wine.
set(mingw_processor x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
