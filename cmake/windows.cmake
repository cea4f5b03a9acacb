# The cross build: korvane.exe and the Windows test programs, run under Wine by CTest.
enable_language(RC)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(wine_arch win64)
else()
    set(wine_arch win32)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${wine_arch} ${CMAKE_BINARY_DIR}/wineprefix)

# Built for the oldest Windows the manifest names, Vista: no constant or function of a later
# Windows reaches the programs unseen (QS_ALLINPUT, say, would carry Windows 8's input flags).
add_compile_definitions(_WIN32_WINNT=0x0600 WINVER=0x0600)

# Linked statically: no libgcc, libstdc++ or libwinpthread DLL beside the programs.
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -Wl,--gc-sections)
# Without exceptions nothing unwinds the stack: no unwind tables, which were an eighth of the exe.
target_compile_options(korvane_text PRIVATE -ffunction-sections -fdata-sections
    -fno-asynchronous-unwind-tables -fno-unwind-tables)

# The event log's texts: a message table made from the .mc file at build time, with the header
# of its ids for the code that reports the events.
set(events_dir ${CMAKE_BINARY_DIR}/events)
set(events_mc ${CMAKE_SOURCE_DIR}/src/resources/korvane_events.mc)
add_custom_command(
    OUTPUT ${events_dir}/korvane_events.h ${events_dir}/korvane_events.rc ${events_dir}/MSG00409.bin
    COMMAND ${CMAKE_COMMAND} -E make_directory ${events_dir}
    COMMAND ${mingw_processor}-w64-mingw32-windmc -A -h ${events_dir} -r ${events_dir} ${events_mc}
    DEPENDS ${events_mc}
    COMMENT "Making the event log's message table")
add_custom_target(korvane_events DEPENDS ${events_dir}/korvane_events.h)

add_library(korvane_win STATIC
    src/launch/alert.cpp
    src/platform/com_library.cpp
    src/platform/error_text.cpp
    src/platform/keep_awake.cpp
    src/launch/arguments.cpp
    src/launch/first_program.cpp
    src/launch/keeper.cpp
    src/launch/launch_sequence.cpp
    src/platform/show_wait.cpp
    src/launch/picture_loading.cpp
    src/launch/profile_settings.cpp
    src/launch/program_start.cpp
    src/launch/program_tree.cpp
    src/launch/second_program.cpp
    src/launch/shell_open.cpp
    src/launch/unattended.cpp
    src/launch/visitor_input.cpp
    src/platform/run_log.cpp
    src/desktop/backdrop.cpp
    src/desktop/backdrop_picture.cpp
    src/desktop/screens.cpp
    src/desktop/taskbar.cpp
    src/desktop/window_lookup.cpp
    src/desktop/window_placing.cpp
    src/launch/screen_keeper.cpp
    src/launch/world_wait.cpp
    src/platform/port_look.cpp
    src/platform/run_report.cpp)
target_link_libraries(korvane_win PUBLIC korvane_text gdi32 shell32 advapi32 ws2_32)
target_include_directories(korvane_win PUBLIC ${events_dir})
add_dependencies(korvane_win korvane_events)
# Every platform call with text is the wide one; the plain names (IDC_ARROW...) follow.
target_compile_definitions(korvane_win PRIVATE UNICODE _UNICODE)
target_compile_options(korvane_win PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)

add_executable(korvane WIN32 src/launch/main.cpp src/resources/korvane.rc)
target_compile_options(korvane PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
# windres does not tell which files the resources pull in.
set_source_files_properties(src/resources/korvane.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/src/resources/korvane.manifest;${CMAKE_SOURCE_DIR}/src/resources/korvane.ico;${events_dir}/korvane_events.rc;${events_dir}/MSG00409.bin")
target_link_libraries(korvane PRIVATE korvane_win)
# Its own entry point, without the C runtime's start-up code (main.cpp says why).
target_link_options(korvane PRIVATE -s -nostartfiles)

# The demo show's first program (scripts/demo.sh).
add_executable(demo_intro WIN32 demo/intro.cpp)
set_target_properties(demo_intro PROPERTIES OUTPUT_NAME intro)
target_link_libraries(demo_intro PRIVATE gdi32)

# The release zip: korvane.exe, the user guide with its picture and the example profiles.
set(release_zip ${CMAKE_BINARY_DIR}/korvane-${PROJECT_VERSION}.zip)
set(release_dir ${CMAKE_BINARY_DIR}/release/korvane-${PROJECT_VERSION})
set(guide_picture ${CMAKE_SOURCE_DIR}/docs/demo-intro.png)
file(GLOB example_profiles ${CMAKE_SOURCE_DIR}/examples/*.ini)
add_custom_command(OUTPUT ${release_zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${release_dir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${release_dir}/examples ${release_dir}/docs
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:korvane> ${CMAKE_SOURCE_DIR}/README.md ${release_dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${guide_picture} ${release_dir}/docs
    COMMAND ${CMAKE_COMMAND} -E copy ${example_profiles} ${release_dir}/examples
    COMMAND ${CMAKE_COMMAND} -E tar cf ${release_zip} --format=zip korvane-${PROJECT_VERSION}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/release
    DEPENDS korvane ${CMAKE_SOURCE_DIR}/README.md ${guide_picture} ${example_profiles}
    COMMENT "Packing ${release_zip}")
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
add_custom_target(release ALL DEPENDS ${release_zip})

add_subdirectory(tests)
