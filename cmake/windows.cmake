# The cross build: korvane.exe and the Windows test programs, run under Wine by CTest.
enable_language(RC)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)

# Linked statically: no libgcc, libstdc++ or libwinpthread DLL beside the programs.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -Wl,--gc-sections)
target_compile_options(korvane_text PRIVATE -ffunction-sections -fdata-sections)

add_library(korvane_win STATIC
    src/launch/alert.cpp
    src/launch/arguments.cpp
    src/launch/launch_sequence.cpp
    src/launch/message_waits.cpp
    src/launch/profile_settings.cpp
    src/desktop/backdrop.cpp
    src/desktop/window_lookup.cpp)
target_link_libraries(korvane_win PUBLIC korvane_text gdi32)

add_executable(korvane WIN32 src/launch/main.cpp src/resources/korvane.rc)
target_link_libraries(korvane PRIVATE korvane_win)
target_link_options(korvane PRIVATE -s)

add_subdirectory(tests/wine)
