// The Windows services that the update logic uses, behind one header.
//
// On Windows this is <windows.h> itself. Elsewhere (the host test build) it
// declares just the names we call, with their documented values, and the
// calls are answered by the in-memory emulation in
// windows_services_emulated.cc. Which implementation links is chosen by the
// build, never by #ifdef in update/.
#ifndef DOZEGUARD_PLATFORM_WINDOWS_SERVICES_H_
#define DOZEGUARD_PLATFORM_WINDOWS_SERVICES_H_

#include <stdint.h>

#ifdef _WIN32
#include <windows.h>
#else

typedef int32_t LONG;
typedef uint32_t DWORD;
typedef uint8_t BYTE;
typedef int BOOL;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;
typedef DWORD REGSAM;
typedef struct EmulatedKey* HKEY;
typedef struct EmulatedWindow* HWND;
typedef HKEY* PHKEY;

#define HKEY_LOCAL_MACHINE \
  (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u)))
#define KEY_ALL_ACCESS 0xF003Fu
#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_MORE_DATA 234L
#define MB_OK 0u
#define VER_PLATFORM_WIN32s 0u
#define VER_PLATFORM_WIN32_WINDOWS 1u
#define VER_PLATFORM_WIN32_NT 2u

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};

LONG RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access,
                   PHKEY result);
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD byteCount);
LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD byteCount);
LONG RegCloseKey(HKEY key);
HWND GetDesktopWindow();
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, unsigned style);
BOOL GetVersionExA(OSVERSIONINFOA* info);
// Formats like printf's %d, %x, %04d and %s; writes at most 1024 bytes.
int wsprintfA(LPSTR out, LPCSTR format, ...);

#endif  // _WIN32

// The size GetVersionExA is told: that of the ANSI record, 148 bytes.
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");

// MessageBoxA(owner, text, caption, MB_OK); its result is not needed.
void ShowMessage(HWND owner, LPCSTR text, LPCSTR caption);

// ShowMessage, but only when diagnostic mode is on.
void ShowDiagnostic(bool diagnosticMode, HWND owner, LPCSTR text,
                    LPCSTR caption);

#endif  // DOZEGUARD_PLATFORM_WINDOWS_SERVICES_H_
