# Native build of the text rules only; the host preset adds the sanitizers.
add_subdirectory(tests/unit)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_subdirectory(tests/fuzz)
endif()
