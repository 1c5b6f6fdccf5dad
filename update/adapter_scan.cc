#include "update/adapter_scan.h"

#include "update/ascii_text.h"
#include "update/registry_value.h"
#include "update/run_sequence.h"
#include "update/value_update.h"

namespace {

// Owns one open adapter key and closes it when the slot is done, on every
// path out of it.
class OpenAdapterKey {
 public:
  explicit OpenAdapterKey(HKEY key) : key_(key) {}
  ~OpenAdapterKey() { RegCloseKey(key_); }
  OpenAdapterKey(const OpenAdapterKey&) = delete;
  OpenAdapterKey& operator=(const OpenAdapterKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

// Processes one slot. Returns false when its key refused to open for a reason
// other than being absent, or its power-saver value could not be written.
bool ScanAdapterSlot(const RunSettings& settings, AdapterSlot slot) {
  char path[kKeyPathCapacity];
  FormatAdapterKeyPath(settings.scheme, slot, path);
  if (slot % kAdapterSlotCount == 0) {
    ShowDiagnostic(settings.diagnostic, settings.owner, path,
                   "Opening HKEY_LOCAL_MACHINE");
  }
  HKEY opened = nullptr;
  LONG status =
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &opened);
  if (status != ERROR_SUCCESS) return status == ERROR_FILE_NOT_FOUND;

  OpenAdapterKey key(opened);
  ShowDiagnostic(settings.diagnostic, settings.owner, path,
                 "Opened HKEY_LOCAL_MACHINE");
  if (!IsVendorAdapter(key.get(), settings)) return true;
  return UpdatePowerSaverValue(key.get(), settings);
}

}  // namespace

void FormatAdapterKeyPath(KeyPathScheme scheme, AdapterSlot slot, char* path) {
  const char* pathTemplate = KeyPathTemplate(scheme);
  if (scheme == ServiceKeyScheme) {
    wsprintfA(path, pathTemplate, kServiceBaseName, slot + 1);
  } else {
    wsprintfA(path, pathTemplate, slot);
  }
}

bool IsVendorAdapter(HKEY key, const RunSettings& settings) {
  ValueBuffer value;
  if (ReadRegistryValue(key, "MatchingDeviceID", &value) != ERROR_SUCCESS) {
    return true;  // a key without a readable device ID counts as ours
  }
  // The device ID is the text up to its first NUL or the last byte read,
  // whatever the value's type; one more byte holds the terminating NUL.
  char deviceId[kValueBufferSize + 1];
  DWORD length = 0;
  while (length < value.byteCount && value.data[length] != 0) {
    deviceId[length] = static_cast<char>(value.data[length]);
    ++length;
  }
  deviceId[length] = '\0';
  ShowDiagnostic(settings.diagnostic, settings.owner, deviceId,
                 "MatchingDeviceID");
  UpperCaseText(deviceId);
  if (TextContains(deviceId, kVendorMark)) return true;
  ShowDiagnostic(settings.diagnostic, settings.owner,
                 "Didn't find PCI\\VEN_C2F7 in MatchingDeviceID",
                 "Not Norvane adapter");
  return false;
}

bool ScanAdapterSlots(const RunSettings& settings) {
  bool allReached = true;
  for (AdapterSlot slot = 0; slot < kAdapterSlotCount; ++slot) {
    if (!ScanAdapterSlot(settings, slot)) allReached = false;
  }
  return allReached;
}
