// The floor of the Wine measurements: a Windows program that does nothing,
// built and linked exactly as DozeguardEnable.exe is.
#include <windows.h>

extern "C" void WinMainCRTStartup() { ExitProcess(0); }
