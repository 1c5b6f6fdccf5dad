# libFuzzer targets for the code that reads untrusted input: the argument, the
# command line, registry text and device IDs. Each runs for a bounded time as
# a test, starting from the seed corpus in tests/fuzz/corpus/.
include(cmake/host_emulation.cmake)
set(DOZEGUARD_FUZZ_SECONDS 10 CACHE STRING "How long each fuzz test runs")

foreach(target parse_state_argument read_decimal_text split_command_line
               vendor_adapter)
  add_executable(fuzz_${target} tests/fuzz/fuzz_${target}.cc)
  target_link_libraries(fuzz_${target} PRIVATE dozeguard_update)
  target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${target})
  file(MAKE_DIRECTORY ${corpus})
  # New inputs go to the build's corpus; the seeds in the tree stay as they are.
  add_test(NAME fuzz_${target} COMMAND fuzz_${target}
    -max_total_time=${DOZEGUARD_FUZZ_SECONDS} -rss_limit_mb=2048
    -print_final_stats=0 ${corpus}
    ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${target})
  set_tests_properties(fuzz_${target} PROPERTIES LABELS fuzz)
endforeach()
