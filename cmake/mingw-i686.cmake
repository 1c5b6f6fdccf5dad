# Cross build of the 32-bit program with Debian's MinGW-w64 (i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(DOZEGUARD_OBJDUMP i686-w64-mingw32-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The 80386 and Windows 95 / NT 4.0: no cmov and friends, subsystem 4.0.
set(DOZEGUARD_TARGET_FLAGS -march=i386)
set(DOZEGUARD_TARGET_LINK_FLAGS
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
    -Wl,--major-os-version,4,--minor-os-version,0
    -Wl,--entry,_WinMainCRTStartup)
