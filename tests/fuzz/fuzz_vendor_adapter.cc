// IsVendorAdapter on any MatchingDeviceID: the first input byte picks the
// value's type, the rest are its data (up to 200 bytes, past the 128-byte
// buffer). It must not read past what came back, must show at most the
// 128 bytes read, and must leave no key open.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/emulation_controls.h"
#include "update/adapter_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 201) return 0;
  emulation::Reset();
  const std::string path = "SYSTEM\\Adapter";
  emulation::SetValue(path, "MatchingDeviceID", data[0] % 8,
                      std::vector<BYTE>(data + 1, data + size));
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  RunSettings settings = {};
  settings.diagnostic = true;
  IsVendorAdapter(key, settings);
  RegCloseKey(key);
  for (const emulation::MessageBoxRecord& box : emulation::MessageBoxes()) {
    if (box.text.size() > 128) __builtin_trap();
  }
  if (emulation::OpenKeyCount() != 0) __builtin_trap();
  return 0;
}
