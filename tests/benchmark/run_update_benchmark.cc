// RunUpdate over the emulation with 0, 8 and 64 of the maker's adapters, each
// run flipping every adapter's value so that every run writes. Reports the
// registry calls of one run beside the time.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/emulation_controls.h"
#include "update/adapter_scan.h"
#include "update/run_sequence.h"

namespace {

std::string SlotPath(int slot) {
  char path[kKeyPathCapacity];
  FormatAdapterKeyPath(ClassKeyScheme, slot, path);
  return path;
}

void BM_RunUpdate(benchmark::State& state) {
  const int adapters = static_cast<int>(state.range(0));
  emulation::Reset();
  for (int slot = 0; slot < adapters; ++slot) {
    emulation::SetTextValue(SlotPath(slot), "MatchingDeviceID",
                            "PCI\\VEN_C2F7&DEV_1229");
    emulation::SetTextValue(SlotPath(slot), "DozeguardEnabled", "0");
  }
  char program[] = "DozeguardEnable.exe";
  char on[] = "ON";
  char off[] = "OFF";
  char* argumentsOn[] = {program, on, nullptr};
  char* argumentsOff[] = {program, off, nullptr};
  const char environment[] = "PATH=C:\\WINDOWS\0";
  bool turnOn = true;
  for (auto _ : state) {
    emulation::ClearRecords();
    int code = RunUpdate({2, turnOn ? argumentsOn : argumentsOff}, environment);
    benchmark::DoNotOptimize(code);
    turnOn = !turnOn;
  }
  const emulation::CallCounts& calls = emulation::Calls();
  state.counters["opens"] = calls.opens;
  state.counters["queries"] = calls.queries;
  state.counters["writes"] = calls.writes;
  state.counters["closes"] = calls.closes;
}

BENCHMARK(BM_RunUpdate)->Arg(0)->Arg(8)->Arg(64);

}  // namespace

BENCHMARK_MAIN();
