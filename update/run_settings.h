// What holds for the whole run, settled once by RunUpdate and read by the
// adapter scan and the value update.
#ifndef DOZEGUARD_UPDATE_RUN_SETTINGS_H_
#define DOZEGUARD_UPDATE_RUN_SETTINGS_H_

#include <stdint.h>

#include "platform/windows_services.h"

// The state asked for on the command line: 0 for OFF, 1 for ON.
typedef int32_t RequestedState;

// Which registry layout holds the adapter keys on this Windows version.
enum KeyPathScheme {
  ClassKeyScheme,     // Windows 98, Me, 2000 and later: the network class key
  ServiceKeyScheme,   // Windows NT 4.0: one service key per adapter
  NetClassKeyScheme,  // Windows 95: the Windows 9x network class key
};

// An adapter slot number, 0 to 63.
typedef int AdapterSlot;
const AdapterSlot kAdapterSlotCount = 64;

// The process exit codes.
enum ExitCode {
  kExitScanned = 0,     // every adapter found is in the requested state
  kExitRefused = 1,     // too old a Windows, or a missing or wrong argument
  kExitIncomplete = 2,  // some adapter key could not be opened or written
};

struct RunSettings {
  bool diagnostic;        // DOZEGUARDENABLE exists, whatever its value
  HWND owner;             // the desktop window, owner of every message box
  int32_t versionNumber;  // major * 100 + minor, 0 when the query failed
  uint32_t platformId;    // VER_PLATFORM_WIN32_NT (2) on the NT line
  KeyPathScheme scheme;
  RequestedState requestedState;
};

#endif  // DOZEGUARD_UPDATE_RUN_SETTINGS_H_
