# The Windows program: no C runtime, only KERNEL32, USER32 and ADVAPI32.
enable_language(RC)

set(DOZEGUARD_FREESTANDING_FLAGS
  -Os -ffreestanding -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
  -fno-stack-protector -fno-threadsafe-statics -ffunction-sections
  -fdata-sections
  # Keeps our memset and memcpy loops from being turned into calls to
  # themselves.
  -fno-tree-loop-distribute-patterns
  ${DOZEGUARD_TARGET_FLAGS})
target_compile_options(dozeguard_update PUBLIC
  $<$<COMPILE_LANGUAGE:CXX>:${DOZEGUARD_FREESTANDING_FLAGS}>)

add_executable(DozeguardEnable WIN32
  platform/windows_services_win32.cc
  update/win_main.cc
  resources/version.rc)
target_link_libraries(DozeguardEnable PRIVATE dozeguard_update)
set(DOZEGUARD_PROGRAM_LINK_OPTIONS
  -nostdlib -s -Wl,--gc-sections,--no-insert-timestamp
  ${DOZEGUARD_TARGET_LINK_FLAGS})
target_link_options(DozeguardEnable PRIVATE ${DOZEGUARD_PROGRAM_LINK_OPTIONS})
# libgcc provides __chkstk_ms should a stack frame ever pass 4 KiB.
target_link_libraries(DozeguardEnable PRIVATE kernel32 user32 advapi32 gcc)
set_target_properties(DozeguardEnable PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The floor of the Wine measurements: nothing, built the same way.
add_executable(do_nothing WIN32 tests/benchmark/do_nothing.cc)
target_compile_options(do_nothing PRIVATE ${DOZEGUARD_FREESTANDING_FLAGS})
target_link_options(do_nothing PRIVATE ${DOZEGUARD_PROGRAM_LINK_OPTIONS})
target_link_libraries(do_nothing PRIVATE kernel32)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(DOZEGUARD_BITS 64)
else()
  set(DOZEGUARD_BITS 32)
endif()

# End-to-end tests under Wine: only the 64-bit build runs on these machines.
if(DOZEGUARD_BITS EQUAL 64)
  # Loads registry fixtures and reads them back inside the Wine prefix. A test
  # tool, not the product: it may use the C runtime.
  add_executable(regfixture tests/wine/regfixture.cc)
  target_link_libraries(regfixture PRIVATE advapi32 user32)
  target_link_options(regfixture PRIVATE -static)

  set(DOZEGUARD_E2E ${PROJECT_SOURCE_DIR}/tests/wine/e2e_test.py)
  set(DOZEGUARD_E2E_ARGS --program $<TARGET_FILE:DozeguardEnable>
    --fixture-tool $<TARGET_FILE:regfixture>)
  add_test(NAME wine_cases COMMAND python3 ${DOZEGUARD_E2E} cases
    ${DOZEGUARD_E2E_ARGS} --work-dir ${CMAKE_BINARY_DIR}/wine/cases)
  add_test(NAME wine_usage_window COMMAND python3 ${DOZEGUARD_E2E} window
    ${DOZEGUARD_E2E_ARGS} --work-dir ${CMAKE_BINARY_DIR}/wine/window
    --shot ${CMAKE_BINARY_DIR}/usage-box.png)

  # Our command-line splitter against msvcrt.dll's own, inside Wine.
  add_executable(split_compare tests/wine/split_compare.cc
    platform/command_line.cc)
  target_include_directories(split_compare PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_options(split_compare PRIVATE -static)
  add_test(NAME wine_command_line COMMAND python3 ${DOZEGUARD_E2E} command-line
    ${DOZEGUARD_E2E_ARGS} --work-dir ${CMAKE_BINARY_DIR}/wine/command-line
    --splitter $<TARGET_FILE:split_compare>)

  set_tests_properties(wine_cases wine_usage_window wine_command_line
    PROPERTIES LABELS wine TIMEOUT 300)
endif()

# The compatibility gate: imports, header, instructions, resource, size.
add_test(NAME executable_gate COMMAND python3
  ${PROJECT_SOURCE_DIR}/tests/gate/check_executable.py
  --exe $<TARGET_FILE:DozeguardEnable> --objdump ${DOZEGUARD_OBJDUMP}
  --bits ${DOZEGUARD_BITS})
set_tests_properties(executable_gate PROPERTIES LABELS gate)
