# The host build: the update logic over the in-memory emulation of Windows,
# unit-tested with GoogleTest under AddressSanitizer and UBSan.
find_package(GTest REQUIRED)

# On the host the Windows calls of the update logic are the emulation's.
add_library(dozeguard_emulation STATIC platform/windows_services_emulated.cc)
target_include_directories(dozeguard_emulation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(dozeguard_update PUBLIC dozeguard_emulation)

add_executable(dozeguard_tests
  tests/test_support.cc
  tests/command_line_test.cc
  tests/run_sequence_test.cc
  tests/adapter_scan_test.cc
  tests/value_update_test.cc)
target_link_libraries(dozeguard_tests PRIVATE dozeguard_update GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(dozeguard_tests PROPERTIES LABELS unit)
