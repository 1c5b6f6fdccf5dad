// The Windows build's start-up and the few C runtime functions the compiler
// may call. The program links with no C runtime: Windows 95 as first shipped
// has no msvcrt.dll, and the MinGW start-up code needs a Pentium Pro.
#include "platform/process_start.h"
#include "platform/windows_services.h"

namespace {

ArgumentList g_processArguments = {0, nullptr};

void SplitProcessCommandLine() {
  const char* line = GetCommandLineA();
  size_t length = 0;
  while (line != nullptr && line[length] != '\0') ++length;
  HANDLE heap = GetProcessHeap();
  void* text = HeapAlloc(heap, 0, SplitTextCapacity(length));
  void* values =
      HeapAlloc(heap, 0, SplitValuesCapacity(length) * sizeof(char*));
  if (text == nullptr || values == nullptr) return;  // no arguments: usage box
  g_processArguments = SplitCommandLine(line, static_cast<char*>(text),
                                        static_cast<char**>(values));
}

}  // namespace

ArgumentList ProcessArguments() { return g_processArguments; }

extern "C" {

// GCC emits calls to these for struct copies and zero-filling. The build
// compiles this file with -fno-tree-loop-distribute-patterns, so the loops are
// not turned back into calls to themselves. (The C runtime's header names the
// parameters with reserved identifiers; ours keep plain names.)
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
void* memset(void* destination, int byte, size_t count) {
  unsigned char* out = static_cast<unsigned char*>(destination);
  while (count-- > 0) *out++ = static_cast<unsigned char>(byte);
  return destination;
}

// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
void* memcpy(void* destination, const void* source, size_t count) {
  unsigned char* out = static_cast<unsigned char*>(destination);
  const unsigned char* in = static_cast<const unsigned char*>(source);
  while (count-- > 0) *out++ = *in++;
  return destination;
}

// The process entry point (the linker is told its name). WinMain's instance,
// command-line text and show-window arguments are not used by the program.
void WinMainCRTStartup() {
  SplitProcessCommandLine();
  ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr,
                                        GetCommandLineA(), SW_SHOWDEFAULT)));
}

}  // extern "C"
