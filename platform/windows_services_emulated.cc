// The host emulation of the Windows services, with the status codes and byte
// counts of the real calls, so that the update logic runs unchanged in tests.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "platform/emulation_controls.h"
#include "platform/windows_services.h"

namespace emulation {
namespace {

const DWORD kKeyQueryValue = 0x0001;  // access bits RegQueryValueExA needs
const DWORD kKeySetValue = 0x0002;    // and RegSetValueExA
const uintptr_t kFirstHandle = 0x1000;

struct OpenHandle {
  std::string path;
  REGSAM access;
};

struct Emulation {
  Registry registry;
  std::map<uintptr_t, OpenHandle> openHandles;
  uintptr_t nextHandle = kFirstHandle;
  int badCloses = 0;
  OSVERSIONINFOA version = {};
  bool versionSucceeds = true;
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<OpenRecord> opens;
  std::vector<WriteRecord> writes;
  CallCounts calls;
};

Emulation& State() {
  static Emulation state;
  return state;
}

char FoldCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

OpenHandle* FindHandle(HKEY key) {
  auto found = State().openHandles.find(reinterpret_cast<uintptr_t>(key));
  return found == State().openHandles.end() ? nullptr : &found->second;
}

Key* FindKey(const std::string& path) {
  auto found = State().registry.find(path);
  return found == State().registry.end() ? nullptr : &found->second;
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a,
                                     const std::string& b) const {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

bool Value::operator==(const Value& other) const {
  return type == other.type && data == other.data &&
         readStatus == other.readStatus;
}

bool Key::operator==(const Key& other) const {
  return values == other.values && openStatus == other.openStatus &&
         writeStatus == other.writeStatus;
}

void Reset() {
  State() = Emulation();
  SetWindowsVersion(5, 1, VER_PLATFORM_WIN32_NT);
}

void ClearRecords() {
  State().messageBoxes.clear();
  State().opens.clear();
  State().writes.clear();
  State().calls = CallCounts();
}

Registry& TheRegistry() { return State().registry; }

Key& AddKey(const std::string& path) { return State().registry[path]; }

void SetValue(const std::string& path, const std::string& name, DWORD type,
              const std::vector<BYTE>& data) {
  Value& value = AddKey(path).values[name];
  value.type = type;
  value.data = data;
}

void SetTextValue(const std::string& path, const std::string& name,
                  const std::string& text, DWORD type) {
  SetValue(path, name, type, std::vector<BYTE>(text.begin(), text.end()));
}

void SetDwordValue(const std::string& path, const std::string& name,
                   uint32_t number) {
  SetValue(path, name, REG_DWORD,
           {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
            static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)});
}

void SetWindowsVersion(DWORD major, DWORD minor, DWORD platformId,
                       bool succeeds) {
  OSVERSIONINFOA& version = State().version;
  version = {};
  version.dwMajorVersion = major;
  version.dwMinorVersion = minor;
  version.dwPlatformId = platformId;
  State().versionSucceeds = succeeds;
}

HWND DesktopWindow() {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10010));
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
  return State().messageBoxes;
}
const std::vector<OpenRecord>& Opens() { return State().opens; }
const std::vector<WriteRecord>& Writes() { return State().writes; }
const CallCounts& Calls() { return State().calls; }
int OpenKeyCount() { return static_cast<int>(State().openHandles.size()); }
int BadCloseCount() { return State().badCloses; }

}  // namespace emulation

using emulation::State;

LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access,
                   PHKEY result) {
  State().calls.opens++;
  LONG status = ERROR_FILE_NOT_FOUND;
  emulation::Key* key =
      root == HKEY_LOCAL_MACHINE ? emulation::FindKey(subKey) : nullptr;
  if (key != nullptr) status = key->openStatus;
  if (status == ERROR_SUCCESS) {
    uintptr_t handle = State().nextHandle++;
    State().openHandles[handle] = {subKey, access};
    *result = reinterpret_cast<HKEY>(handle);
  }
  State().opens.push_back({subKey, options, access, status});
  return status;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD byteCount) {
  State().calls.queries++;
  emulation::OpenHandle* handle = emulation::FindHandle(key);
  if (handle == nullptr || reserved != nullptr) return ERROR_INVALID_HANDLE;
  if ((handle->access & emulation::kKeyQueryValue) == 0) {
    return ERROR_ACCESS_DENIED;
  }
  emulation::Key* stored = emulation::FindKey(handle->path);
  auto found = stored->values.find(valueName);
  if (found == stored->values.end()) return ERROR_FILE_NOT_FOUND;
  const emulation::Value& value = found->second;
  if (value.readStatus != ERROR_SUCCESS) return value.readStatus;
  DWORD size = static_cast<DWORD>(value.data.size());
  if (type != nullptr) *type = value.type;
  // As the real call: the needed size comes back whether or not it fits.
  DWORD room = byteCount != nullptr ? *byteCount : 0;
  if (byteCount != nullptr) *byteCount = size;
  if (data == nullptr) return ERROR_SUCCESS;
  if (size > room) return ERROR_MORE_DATA;
  if (size > 0) memcpy(data, value.data.data(), size);
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD byteCount) {
  State().calls.writes++;
  emulation::OpenHandle* handle = emulation::FindHandle(key);
  if (handle == nullptr || reserved != 0) return ERROR_INVALID_HANDLE;
  emulation::Key* stored = emulation::FindKey(handle->path);
  std::vector<BYTE> bytes(data, data + byteCount);
  LONG status = stored->writeStatus;
  if ((handle->access & emulation::kKeySetValue) == 0) {
    status = ERROR_ACCESS_DENIED;
  }
  if (status == ERROR_SUCCESS) {
    emulation::Value& value = stored->values[valueName];
    value.type = type;
    value.data = bytes;
  }
  State().writes.push_back({handle->path, valueName, type, bytes, status});
  return status;
}

LONG RegCloseKey(HKEY key) {
  State().calls.closes++;
  if (State().openHandles.erase(reinterpret_cast<uintptr_t>(key)) == 0) {
    State().badCloses++;
    return ERROR_INVALID_HANDLE;
  }
  return ERROR_SUCCESS;
}

HWND GetDesktopWindow() { return emulation::DesktopWindow(); }

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, unsigned style) {
  State().messageBoxes.push_back({owner, text, caption, style});
  return 1;  // IDOK
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (!State().versionSucceeds || info->dwOSVersionInfoSize != sizeof(*info)) {
    return 0;
  }
  *info = State().version;
  info->dwOSVersionInfoSize = sizeof(*info);
  return 1;
}

int wsprintfA(LPSTR out, LPCSTR format, ...) {
  const int kMaxOutput = 1024;  // wsprintfA never writes more
  va_list arguments;
  va_start(arguments, format);
  // The analyzer misses the va_start above when reading gcc's va_list.
  // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized)
  int length = vsnprintf(out, kMaxOutput, format, arguments);
  va_end(arguments);
  return std::min(length, kMaxOutput - 1);
}
