// The two message-box services, the same on Windows and in the emulation.
#include "platform/windows_services.h"

void ShowMessage(HWND owner, LPCSTR text, LPCSTR caption) {
  MessageBoxA(owner, text, caption, MB_OK);
}

void ShowDiagnostic(bool diagnosticMode, HWND owner, LPCSTR text,
                    LPCSTR caption) {
  if (diagnosticMode) ShowMessage(owner, text, caption);
}
