# Cross build of the 32-bit program with Debian's MinGW-w64 (i686).
set(DOZEGUARD_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 80386 and Windows 95 / NT 4.0: no cmov and friends, subsystem 4.0.
set(DOZEGUARD_TARGET_FLAGS -march=i386)
set(DOZEGUARD_TARGET_LINK_FLAGS
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
    -Wl,--major-os-version,4,--minor-os-version,0
    -Wl,--entry,_WinMainCRTStartup)
