// The Windows entry point: hands the split command line and the environment
// to the run sequence and returns its exit code.
#include "platform/process_start.h"
#include "update/run_sequence.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunUpdate(ProcessArguments(), GetEnvironmentStringsA());
}
