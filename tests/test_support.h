// Shared pieces of the host tests: a fixture that starts every test from a
// fresh emulation and checks that no key was left open, and helpers to run
// the program and read what it showed.
#ifndef DOZEGUARD_TESTS_TEST_SUPPORT_H_
#define DOZEGUARD_TESTS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/emulation_controls.h"
#include "update/run_settings.h"

class EmulatedWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { emulation::Reset(); }
  void TearDown() override {
    EXPECT_EQ(emulation::OpenKeyCount(), 0) << "a registry key was left open";
    EXPECT_EQ(emulation::BadCloseCount(), 0) << "a handle was closed twice";
  }
};

// Runs RunUpdate as "DozeguardEnable <arguments...>" with the environment
// block made of `environment` ("NAME=value" entries).
int RunProgram(const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});

// The environment entry that switches diagnostic mode on.
extern const char kDiagnosticOn[];

// Each message box shown so far as "caption | text".
std::vector<std::string> ShownBoxes();

// The key path of `slot` under ClassKeyScheme, the layout of Windows XP.
std::string ClassKeyPath(int slot);

// Settings for calling the scan and the value update directly.
RunSettings TestSettings(RequestedState state, bool diagnostic = false,
                         KeyPathScheme scheme = ClassKeyScheme);

// Bytes of a text, without a terminating NUL.
std::vector<BYTE> Bytes(const std::string& text);

#endif  // DOZEGUARD_TESTS_TEST_SUPPORT_H_
