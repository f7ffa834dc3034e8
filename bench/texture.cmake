# Loading the twelve built-in pictures into textures on a headless context.
add_executable(texture_bench ${CMAKE_CURRENT_LIST_DIR}/texture_bench.cpp)
target_link_libraries(texture_bench PRIVATE orinthal_texture orinthal_resources orinthal_egl benchmark::benchmark)
