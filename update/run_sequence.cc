#include "update/run_sequence.h"

#include "update/adapter_scan.h"
#include "update/ascii_text.h"

namespace {

const char kDiagnosticVariable[] = "DOZEGUARDENABLE";
const int32_t kFirstSupportedVersion = 400;  // Windows 95 and NT 4.0

// Fills versionNumber and platformId. A failed query leaves the record
// zero-filled, so it reads as version 0 and is refused by the version gate.
void QueryWindowsVersion(RunSettings* settings) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  GetVersionExA(&info);
  settings->versionNumber =
      static_cast<int32_t>(info.dwMajorVersion * 100u + info.dwMinorVersion);
  settings->platformId = info.dwPlatformId;
}

// True when `text`, upper-cased a to z only, equals `expected` exactly.
bool EqualsUpperCased(const char* text, const char* expected) {
  while (*expected != '\0' && UpperCaseLetter(*text) == *expected) {
    ++text;
    ++expected;
  }
  return *text == '\0' && *expected == '\0';
}

void ShowDiagnosticNumber(const RunSettings& settings, const char* format,
                          int32_t number, const char* caption) {
  char text[64];
  wsprintfA(text, format, number);
  ShowDiagnostic(settings.diagnostic, settings.owner, text, caption);
}

}  // namespace

KeyPathScheme SelectKeyPathScheme(int32_t versionNumber, uint32_t platformId) {
  if (versionNumber > kFirstSupportedVersion) return ClassKeyScheme;
  return platformId == VER_PLATFORM_WIN32_NT ? ServiceKeyScheme
                                             : NetClassKeyScheme;
}

const char* KeyPathTemplate(KeyPathScheme scheme) {
  switch (scheme) {
    case ServiceKeyScheme:
      return "SYSTEM\\CurrentControlSet\\Services\\%s%d\\Parameters";
    case NetClassKeyScheme:
      return "System\\CurrentControlSet\\Services\\Class\\Net\\%04d";
    case ClassKeyScheme:
      break;
  }
  return "SYSTEM\\CurrentControlSet\\Control\\Class\\"
         "{4D36E972-E325-11CE-BFC1-08002BE10318}\\%04d";
}

bool ParseStateArgument(const char* text, RequestedState* state) {
  while (*text == '-' || *text == '/') ++text;
  // The argument is compared in place, never copied: it may be of any length.
  if (EqualsUpperCased(text, "OFF")) {
    *state = 0;
    return true;
  }
  if (EqualsUpperCased(text, "ON")) {
    *state = 1;
    return true;
  }
  return false;
}

int RunUpdate(const ArgumentList& arguments, const char* environment) {
  RunSettings settings = {};
  settings.diagnostic = EnvironmentBlockHolds(environment, kDiagnosticVariable);
  settings.owner = GetDesktopWindow();
  QueryWindowsVersion(&settings);
  ShowDiagnosticNumber(settings, "OS Version is %d", settings.versionNumber,
                       "OS");
  if (settings.versionNumber < kFirstSupportedVersion) return kExitRefused;

  settings.scheme =
      SelectKeyPathScheme(settings.versionNumber, settings.platformId);
  ShowDiagnostic(settings.diagnostic, settings.owner,
                 KeyPathTemplate(settings.scheme), "Service Name");

  if (arguments.count < 2 ||
      !ParseStateArgument(arguments.values[1], &settings.requestedState)) {
    ShowMessage(settings.owner, kUsageText, kUsageCaption);
    return kExitRefused;
  }
  ShowDiagnosticNumber(settings, "%d", settings.requestedState,
                       "New parameter value");
  return ScanAdapterSlots(settings) ? kExitScanned : kExitIncomplete;
}
