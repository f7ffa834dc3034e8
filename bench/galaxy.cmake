# Rebuilding the galaxy set, as happens at the end of every cycle.
add_executable(galaxy_bench ${CMAKE_CURRENT_LIST_DIR}/galaxy_bench.cpp)
target_link_libraries(galaxy_bench PRIVATE orinthal_galaxy benchmark::benchmark)
