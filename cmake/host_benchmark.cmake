# The host benchmark of RunUpdate over the emulation (docs/performance.md).
include(cmake/host_emulation.cmake)
find_package(benchmark REQUIRED)
add_executable(run_update_benchmark tests/benchmark/run_update_benchmark.cc)
target_link_libraries(run_update_benchmark PRIVATE dozeguard_update
  benchmark::benchmark)
