# libFuzzer target for the saver program's command line.
add_executable(command_line_fuzz ${CMAKE_CURRENT_LIST_DIR}/command_line_fuzz.cpp)
target_link_libraries(command_line_fuzz PRIVATE orinthal_command_line)
target_link_options(command_line_fuzz PRIVATE -fsanitize=fuzzer)
