// Reading one registry value into a fixed 128-byte buffer, the only way the
// program reads values.
#ifndef DOZEGUARD_UPDATE_REGISTRY_VALUE_H_
#define DOZEGUARD_UPDATE_REGISTRY_VALUE_H_

#include "platform/windows_services.h"

const DWORD kValueBufferSize = 128;

// One value's data as read: `byteCount` of `data` came back, never more than
// kValueBufferSize. The data need not end in a NUL, whatever its type.
struct ValueBuffer {
  DWORD type;
  DWORD byteCount;
  BYTE data[kValueBufferSize];
};

// Reads `name` in the open `key` into `value`. Returns RegQueryValueExA's
// status: 0 when read; ERROR_MORE_DATA for a value over 128 bytes,
// ERROR_FILE_NOT_FOUND when absent, any other code as the system gives it.
LONG ReadRegistryValue(HKEY key, LPCSTR name, ValueBuffer* value);

#endif  // DOZEGUARD_UPDATE_REGISTRY_VALUE_H_
