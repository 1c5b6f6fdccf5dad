# On the host the Windows calls of the update logic are answered by the
# in-memory emulation.
add_library(dozeguard_emulation STATIC platform/windows_services_emulated.cc)
target_include_directories(dozeguard_emulation PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(dozeguard_update PUBLIC dozeguard_emulation)
