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
