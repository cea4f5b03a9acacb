# Native build of the text rules only; the host preset adds the sanitizers.
add_subdirectory(tests/text)
