# Benchmarks for the published report (scripts/bench): the frame cost table
# and the program's start-up to its first presented frame.
add_executable(frame_cost_bench ${CMAKE_CURRENT_LIST_DIR}/frame_cost_bench.cpp)
target_link_libraries(frame_cost_bench PRIVATE orinthal_render orinthal_egl benchmark::benchmark)

if(TARGET orinthal)
  add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
  target_compile_definitions(startup_bench PRIVATE ORINTHAL_PROGRAM_PATH="$<TARGET_FILE:orinthal>")
  target_link_libraries(startup_bench PRIVATE benchmark::benchmark)
  add_dependencies(startup_bench orinthal)
endif()
