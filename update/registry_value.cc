#include "update/registry_value.h"

LONG ReadRegistryValue(HKEY key, LPCSTR name, ValueBuffer* value) {
  value->type = REG_NONE;
  value->byteCount = kValueBufferSize;
  LONG status = RegQueryValueExA(key, name, nullptr, &value->type, value->data,
                                 &value->byteCount);
  // The byte count is trusted only as far as the buffer goes.
  if (value->byteCount > kValueBufferSize) value->byteCount = kValueBufferSize;
  return status;
}
