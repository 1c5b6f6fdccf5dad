// The run sequence: settles RunSettings, refuses what it cannot serve, runs
// the adapter scan and gives the process exit code.
#ifndef DOZEGUARD_UPDATE_RUN_SEQUENCE_H_
#define DOZEGUARD_UPDATE_RUN_SEQUENCE_H_

#include "platform/command_line.h"
#include "update/run_settings.h"

// The caption and the text of the usage box.
inline constexpr char kUsageCaption[] = "Dozeguard Update Utility";
inline constexpr char kUsageText[] =
    "USAGE:  DozeguardEnable {ON|OFF}\n"
    "\n"
    "Turns Dozeguard ON or OFF for Norvane(R) Network Adapters\n"
    "\n"
    "DozeguardEnable ON - Turns Dozeguard ON\n"
    "DozeguardEnable OFF - Turns Dozeguard OFF\n"
    "\n"
    "The system must be rebooted before the change will take effect";

// The whole run. `arguments` is the split command line (values[0] is the
// program name, values[1] the state); `environment` is an environment block
// as GetEnvironmentStringsA returns it. Returns an ExitCode: kExitRefused for
// a Windows older than 4.0 or a missing or wrong argument, otherwise what the
// adapter scan achieved (kExitScanned or kExitIncomplete).
int RunUpdate(const ArgumentList& arguments, const char* environment);

// ClassKeyScheme above version 400; at 400, ServiceKeyScheme on the NT
// platform and NetClassKeyScheme on any other. Not for versions below 400.
KeyPathScheme SelectKeyPathScheme(int32_t versionNumber, uint32_t platformId);

// The printf template that gives a slot's key path under `scheme`.
const char* KeyPathTemplate(KeyPathScheme scheme);

// Reads ON or OFF in any letter case after any run of leading '-' and '/'.
// Returns true and sets `state` (1 for ON, 0 for OFF) when accepted; returns
// false and leaves `state` alone for anything else.
bool ParseStateArgument(const char* text, RequestedState* state);

#endif  // DOZEGUARD_UPDATE_RUN_SEQUENCE_H_
