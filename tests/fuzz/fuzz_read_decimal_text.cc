// ReadDecimalText on any bytes, in a buffer of exactly their size, so that a
// read past the count shows under AddressSanitizer; the arithmetic wraps
// without undefined behaviour.
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "update/value_update.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<BYTE> bytes(data, data + size);
  ReadDecimalText(bytes.data(), static_cast<DWORD>(bytes.size()));
  return 0;
}
