// The power-saver value update: brings one adapter's DozeguardEnabled value
// to the requested state.
#ifndef DOZEGUARD_UPDATE_VALUE_UPDATE_H_
#define DOZEGUARD_UPDATE_VALUE_UPDATE_H_

#include "update/run_settings.h"

inline constexpr char kPowerSaverValueName[] = "DozeguardEnabled";

// Reads DozeguardEnabled in the open `key` (which the caller keeps and
// closes) and writes the requested state when it differs or cannot be read:
// a REG_DWORD stays a REG_DWORD of at least four bytes, any other type gets
// the decimal text under its own type, and an unreadable value is replaced by
// REG_SZ text. Returns false only when that write was refused.
bool UpdatePowerSaverValue(HKEY key, const RunSettings& settings);

// Reads a decimal number as C's atoi does, from the first `count` bytes or up
// to the first NUL: leading white space, one optional sign, then digits, with
// 32-bit arithmetic that wraps. No digits give 0.
int32_t ReadDecimalText(const BYTE* bytes, DWORD count);

#endif  // DOZEGUARD_UPDATE_VALUE_UPDATE_H_
