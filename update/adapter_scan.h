// The adapter scan: walks the 64 adapter slots of the chosen key layout and
// hands each of the maker's adapter keys to the power-saver value update.
#ifndef DOZEGUARD_UPDATE_ADAPTER_SCAN_H_
#define DOZEGUARD_UPDATE_ADAPTER_SCAN_H_

#include "update/run_settings.h"

// Room for any slot's key path; the longest is 82 characters.
const int kKeyPathCapacity = 128;

// The driver's service base name under ServiceKeyScheme.
inline constexpr char kServiceBaseName[] = "VQ540";

// The maker's PCI vendor identifier, as it stands in a hardware ID.
inline constexpr char kVendorMark[] = "PCI\\VEN_C2F7";

// Visits slots 0 to 63 in order, whatever it finds. Returns true when every
// key opened or was absent and every write succeeded; false when a key
// refused to open for any other reason (lack of rights, say) or a write of
// the power-saver value failed, so that the caller can report it.
bool ScanAdapterSlots(const RunSettings& settings);

// Writes the path, relative to HKEY_LOCAL_MACHINE, of `slot`'s adapter key
// under `scheme` into `path` (kKeyPathCapacity bytes).
void FormatAdapterKeyPath(KeyPathScheme scheme, AdapterSlot slot, char* path);

// True when the open key is one of the maker's adapters: its
// MatchingDeviceID holds kVendorMark in any letter case, or it cannot be read.
bool IsVendorAdapter(HKEY key, const RunSettings& settings);

#endif  // DOZEGUARD_UPDATE_ADAPTER_SCAN_H_
