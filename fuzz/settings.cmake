# libFuzzer target for the settings file parser: whatever bytes the per-user
# file holds, parsing ends safely and what it keeps survives a write and a
# second read unchanged.
add_executable(settings_file_fuzz ${CMAKE_CURRENT_LIST_DIR}/settings_file_fuzz.cpp)
target_link_libraries(settings_file_fuzz PRIVATE orinthal_settings)
target_link_options(settings_file_fuzz PRIVATE -fsanitize=fuzzer)
