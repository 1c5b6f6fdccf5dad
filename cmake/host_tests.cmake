# The host build: the update logic over the in-memory emulation of Windows,
# unit-tested with GoogleTest under AddressSanitizer and UBSan.
find_package(GTest REQUIRED)

include(cmake/host_emulation.cmake)

add_executable(dozeguard_tests
  tests/test_support.cc
  tests/command_line_test.cc
  tests/run_sequence_test.cc
  tests/adapter_scan_test.cc
  tests/value_update_test.cc)
target_link_libraries(dozeguard_tests PRIVATE dozeguard_update GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(dozeguard_tests PROPERTIES LABELS unit)
