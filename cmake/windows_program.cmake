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
target_link_options(DozeguardEnable PRIVATE
  -nostdlib -s -Wl,--gc-sections,--no-insert-timestamp
  ${DOZEGUARD_TARGET_LINK_FLAGS})
# libgcc provides __chkstk_ms should a stack frame ever pass 4 KiB.
target_link_libraries(DozeguardEnable PRIVATE kernel32 user32 advapi32 gcc)
set_target_properties(DozeguardEnable PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# End-to-end tests under Wine: only the 64-bit build runs on these machines.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
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
  set_tests_properties(wine_cases wine_usage_window PROPERTIES
    LABELS wine TIMEOUT 300)
endif()
