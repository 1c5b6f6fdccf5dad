# Cross build of the 64-bit program with Debian's MinGW-w64 (x86_64); this is
# the build that runs under Wine on these machines.
set(DOZEGUARD_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
set(DOZEGUARD_TARGET_FLAGS "")
set(DOZEGUARD_TARGET_LINK_FLAGS -Wl,--entry,WinMainCRTStartup)
