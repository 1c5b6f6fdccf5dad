// Test controls of the host emulation of the Windows services: an in-memory
// registry under HKEY_LOCAL_MACHINE, recorded message boxes, a version record
// and injected faults. Only the host tests include this header; the product
// never links it.
#ifndef DOZEGUARD_PLATFORM_EMULATION_CONTROLS_H_
#define DOZEGUARD_PLATFORM_EMULATION_CONTROLS_H_

#include <map>
#include <string>
#include <vector>

#include "platform/windows_services.h"

namespace emulation {

// Orders names without regard to letter case, as the registry compares them.
struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct Value {
  DWORD type = REG_SZ;
  std::vector<BYTE> data;
  LONG readStatus = ERROR_SUCCESS;  // injected: RegQueryValueExA returns it
  bool operator==(const Value& other) const;
};

struct Key {
  std::map<std::string, Value, CaseInsensitiveLess> values;
  LONG openStatus = ERROR_SUCCESS;   // injected: RegOpenKeyExA returns it
  LONG writeStatus = ERROR_SUCCESS;  // injected: RegSetValueExA returns it
  bool operator==(const Key& other) const;
};

// The whole emulated registry: key paths relative to HKEY_LOCAL_MACHINE.
typedef std::map<std::string, Key, CaseInsensitiveLess> Registry;

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  unsigned style;
};

struct OpenRecord {
  std::string path;
  DWORD options;
  REGSAM access;
  LONG status;
};

struct WriteRecord {
  std::string keyPath;
  std::string valueName;
  DWORD type;
  std::vector<BYTE> data;
  LONG status;
};

// How many times each registry call was made.
struct CallCounts {
  int opens = 0;
  int queries = 0;
  int writes = 0;
  int closes = 0;
};

// Starts a fresh emulation: empty registry, no records, Windows XP (5.1, NT).
void Reset();

// Forgets the records and call counts, keeping the registry and the version.
void ClearRecords();

// The registry itself, to fill before a run and to inspect after it.
Registry& TheRegistry();

// Adds (or finds) a key and returns it for values and faults.
Key& AddKey(const std::string& path);

// Sets a value of the key at `path`, adding the key where missing.
void SetValue(const std::string& path, const std::string& name, DWORD type,
              const std::vector<BYTE>& data);
void SetTextValue(const std::string& path, const std::string& name,
                  const std::string& text, DWORD type = REG_SZ);
void SetDwordValue(const std::string& path, const std::string& name,
                   uint32_t number);

// What GetVersionExA reports; `succeeds` false makes it fail untouched.
void SetWindowsVersion(DWORD major, DWORD minor, DWORD platformId,
                       bool succeeds = true);

// The handle GetDesktopWindow returns.
HWND DesktopWindow();

const std::vector<MessageBoxRecord>& MessageBoxes();
const std::vector<OpenRecord>& Opens();
const std::vector<WriteRecord>& Writes();
const CallCounts& Calls();

// Keys opened and not yet closed, and closes of handles that were not open.
int OpenKeyCount();
int BadCloseCount();

}  // namespace emulation

#endif  // DOZEGUARD_PLATFORM_EMULATION_CONTROLS_H_
