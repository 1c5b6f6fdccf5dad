#include "update/value_update.h"

#include "update/registry_value.h"

namespace {

const DWORD kDwordSize = 4;

bool IsWhiteSpace(BYTE c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

// The first four bytes as a little-endian signed integer; bytes the read did
// not return count as zero.
int32_t ReadDwordState(const ValueBuffer& value) {
  uint32_t number = 0;
  for (DWORD i = 0; i < kDwordSize && i < value.byteCount; ++i) {
    number |= static_cast<uint32_t>(value.data[i]) << (8 * i);
  }
  return static_cast<int32_t>(number);
}

int32_t ReadCurrentState(const ValueBuffer& value) {
  if (value.type == REG_DWORD) return ReadDwordState(value);
  return ReadDecimalText(value.data, value.byteCount);
}

// Turns `value` into the data that holds `state` under the same type. A
// REG_DWORD keeps any bytes past the fourth; one shorter than four bytes
// could not hold the state, so it becomes a well-formed four-byte value.
void FormNewData(RequestedState state, ValueBuffer* value) {
  if (value->type == REG_DWORD) {
    uint32_t number = static_cast<uint32_t>(state);
    for (DWORD i = 0; i < kDwordSize; ++i) {
      value->data[i] = static_cast<BYTE>(number >> (8 * i));
    }
    if (value->byteCount < kDwordSize) value->byteCount = kDwordSize;
  } else {
    // Text without its NUL: "0" or "1" is written as one byte.
    value->byteCount = static_cast<DWORD>(
        wsprintfA(reinterpret_cast<char*>(value->data), "%d", state));
  }
}

LONG WriteValue(HKEY key, const ValueBuffer& value) {
  return RegSetValueExA(key, kPowerSaverValueName, 0, value.type, value.data,
                        value.byteCount);
}

void ShowWriteResult(const RunSettings& settings, const char* format,
                     LONG status) {
  char text[96];
  wsprintfA(text, format, settings.requestedState, status);
  ShowDiagnostic(settings.diagnostic, settings.owner, text, "Updated");
}

// The value is absent or unreadable: it is created, or replaced, as text.
bool CreatePowerSaverValue(HKEY key, const RunSettings& settings) {
  ValueBuffer value;
  value.type = REG_SZ;
  FormNewData(settings.requestedState, &value);
  LONG status = WriteValue(key, value);
  ShowWriteResult(settings,
                  "DozeguardEnabled key created.  Value is is %d, RC = %x",
                  status);
  return status == ERROR_SUCCESS;
}

}  // namespace

bool UpdatePowerSaverValue(HKEY key, const RunSettings& settings) {
  ValueBuffer value;
  if (ReadRegistryValue(key, kPowerSaverValueName, &value) != ERROR_SUCCESS) {
    return CreatePowerSaverValue(key, settings);
  }
  int32_t currentState = ReadCurrentState(value);
  char text[48];
  wsprintfA(text, "DozeguardEnabled is %d", currentState);
  ShowDiagnostic(settings.diagnostic, settings.owner, text, "Current value");
  if (currentState == settings.requestedState) return true;

  FormNewData(settings.requestedState, &value);
  LONG status = WriteValue(key, value);
  ShowWriteResult(settings, "New DozeguardEnabled is %d, RC = %x", status);
  return status == ERROR_SUCCESS;
}

int32_t ReadDecimalText(const BYTE* bytes, DWORD count) {
  DWORD i = 0;
  while (i < count && IsWhiteSpace(bytes[i])) ++i;
  bool negative = false;
  if (i < count && (bytes[i] == '+' || bytes[i] == '-')) {
    negative = bytes[i] == '-';
    ++i;
  }
  // Unsigned arithmetic wraps modulo 2^32 without undefined behaviour.
  uint32_t number = 0;
  for (; i < count && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
    number = number * 10u + static_cast<uint32_t>(bytes[i] - '0');
  }
  if (negative) number = 0u - number;
  return static_cast<int32_t>(number);
}
