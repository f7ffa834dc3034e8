# The cost of one frame, headless at 1024 x 768, by star budget and text.
add_executable(render_bench ${CMAKE_CURRENT_LIST_DIR}/render_bench.cpp)
target_link_libraries(render_bench PRIVATE orinthal_render orinthal_egl benchmark::benchmark)
