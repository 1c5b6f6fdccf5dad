#include <string>
#include <vector>

#include "tests/test_support.h"
#include "update/adapter_scan.h"

namespace {

const char kOurDeviceId[] = "PCI\\VEN_C2F7&DEV_1234";
const char kForeignDeviceId[] = "PCI\\VEN_8086&DEV_100E";

// A maker's adapter at `slot` whose power-saver value holds the text "0".
void AddOurAdapter(int slot, const std::string& deviceId = kOurDeviceId) {
  emulation::SetTextValue(ClassKeyPath(slot), "MatchingDeviceID", deviceId);
  emulation::SetTextValue(ClassKeyPath(slot), "DozeguardEnabled", "0");
}

std::vector<BYTE> PowerSaverData(int slot) {
  return emulation::TheRegistry()[ClassKeyPath(slot)]
      .values["DozeguardEnabled"]
      .data;
}

TEST(FormatAdapterKeyPath, GivesEachSlotsPathUnderEachScheme) {
  // clang-format off
  static const struct {
    KeyPathScheme scheme;
    AdapterSlot slot;
    const char* path;
  } cases[] = {
      {ClassKeyScheme, 0,
       "SYSTEM\\CurrentControlSet\\Control\\Class\\"
       "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0000"},
      {ClassKeyScheme, 63,
       "SYSTEM\\CurrentControlSet\\Control\\Class\\"
       "{4D36E972-E325-11CE-BFC1-08002BE10318}\\0063"},
      {ServiceKeyScheme, 0, "SYSTEM\\CurrentControlSet\\Services\\VQ5401\\Parameters"},
      {ServiceKeyScheme, 9, "SYSTEM\\CurrentControlSet\\Services\\VQ54010\\Parameters"},
      {ServiceKeyScheme, 63, "SYSTEM\\CurrentControlSet\\Services\\VQ54064\\Parameters"},
      {NetClassKeyScheme, 0, "System\\CurrentControlSet\\Services\\Class\\Net\\0000"},
      {NetClassKeyScheme, 63, "System\\CurrentControlSet\\Services\\Class\\Net\\0063"},
  };
  // clang-format on
  for (const auto& c : cases) {
    char path[kKeyPathCapacity];
    FormatAdapterKeyPath(c.scheme, c.slot, path);
    EXPECT_STREQ(path, c.path);
  }
}

class AdapterScanTest : public EmulatedWindowsTest {};

TEST_F(AdapterScanTest, VisitsAll64SlotsAcrossGapsInTheNumbering) {
  for (int slot : {0, 1, 12}) AddOurAdapter(slot);
  EXPECT_EQ(RunProgram({"ON"}), kExitScanned);
  ASSERT_EQ(emulation::Opens().size(), 64u);
  for (int slot = 0; slot < 64; ++slot) {
    const emulation::OpenRecord& open = emulation::Opens()[slot];
    EXPECT_EQ(open.path, ClassKeyPath(slot));
    EXPECT_EQ(open.access, KEY_ALL_ACCESS);
    EXPECT_EQ(open.options, 0u);
  }
  for (int slot : {0, 1, 12}) EXPECT_EQ(PowerSaverData(slot), Bytes("1"));
  EXPECT_EQ(emulation::Calls().closes, 3);
  EXPECT_TRUE(emulation::MessageBoxes().empty());
}

TEST_F(AdapterScanTest, WalksTheServiceKeysOfNt40) {
  emulation::SetWindowsVersion(4, 0, VER_PLATFORM_WIN32_NT);
  const std::string last =
      "SYSTEM\\CurrentControlSet\\Services\\VQ54064\\Parameters";
  emulation::SetTextValue(last, "DozeguardEnabled", "0");
  EXPECT_EQ(RunProgram({"ON"}), kExitScanned);
  EXPECT_EQ(emulation::Opens().back().path, last);
  EXPECT_EQ(emulation::TheRegistry()[last].values["DozeguardEnabled"].data,
            Bytes("1"));
}

// Which device IDs mark the maker's adapter. A rejected adapter's power-saver
// value is neither read nor written.
TEST_F(AdapterScanTest, RecognisesTheVendorMarkInTheDeviceId) {
  const std::string exactly128 = std::string(116, 'X') + "PCI\\VEN_C2F7";
  // clang-format off
  static const struct {
    const char* label;
    DWORD type;
    std::vector<BYTE> deviceId;
    bool present;
    LONG readStatus;
    bool accepted;
  } cases[] = {
      {"upper case, NUL-terminated", REG_SZ,
       Bytes(std::string("PCI\\VEN_C2F7&DEV_1234\0", 22)), true, 0, true},
      {"lower case", REG_SZ, Bytes("pci\\ven_c2f7&dev_1234"), true, 0, true},
      {"after other text", REG_SZ, Bytes("ROOT;pci\\Ven_C2f7"), true, 0, true},
      {"other vendor", REG_SZ, Bytes(kForeignDeviceId), true, 0, false},
      {"cut-off mark", REG_SZ, Bytes("PCI\\VEN_C2F"), true, 0, false},
      {"mark after a NUL", REG_SZ, Bytes(std::string("X\0PCI\\VEN_C2F7", 14)),
       true, 0, false},
      {"binary type", REG_BINARY, Bytes("PCI\\VEN_C2F7"), true, 0, true},
      {"empty", REG_SZ, {}, true, 0, false},
      {"absent", REG_SZ, {}, false, 0, true},
      {"129 bytes: unreadable", REG_SZ, Bytes(std::string(129, 'X')), true, 0,
       true},
      {"read refused", REG_SZ, Bytes(kForeignDeviceId), true,
       ERROR_ACCESS_DENIED, true},
      {"128 bytes, no NUL, mark at the end", REG_SZ, Bytes(exactly128), true, 0,
       true},
      {"128 bytes, no NUL, no mark", REG_SZ, Bytes(std::string(128, 'X')), true,
       0, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    emulation::Reset();
    emulation::SetTextValue(ClassKeyPath(5), "DozeguardEnabled", "0");
    if (c.present) {
      emulation::SetValue(ClassKeyPath(5), "MatchingDeviceID", c.type,
                          c.deviceId);
      emulation::AddKey(ClassKeyPath(5)).values["MatchingDeviceID"].readStatus =
          c.readStatus;
    }
    EXPECT_EQ(RunProgram({"ON"}), kExitScanned) << c.label;
    EXPECT_EQ(emulation::Calls().queries, c.accepted ? 2 : 1) << c.label;
    EXPECT_EQ(emulation::Writes().size(), c.accepted ? 1u : 0u) << c.label;
    EXPECT_EQ(PowerSaverData(5), Bytes(c.accepted ? "1" : "0")) << c.label;
    EXPECT_EQ(emulation::OpenKeyCount(), 0) << c.label;
  }
}

TEST_F(AdapterScanTest, ShowsTheDeviceIdAsReadOfAll128Bytes) {
  const std::string deviceId = std::string(116, 'x') + "pci\\ven_c2f7";
  emulation::SetTextValue(ClassKeyPath(0), "MatchingDeviceID", deviceId);
  emulation::SetDwordValue(ClassKeyPath(0), "DozeguardEnabled", 1);
  EXPECT_EQ(RunProgram({"ON"}, {kDiagnosticOn}), kExitScanned);
  std::vector<std::string> boxes = ShownBoxes();
  ASSERT_GE(boxes.size(), 6u);
  EXPECT_EQ(boxes[5], "MatchingDeviceID | " + deviceId);
}

TEST_F(AdapterScanTest, DiagnosticModeShowsEveryDecisionInOrder) {
  AddOurAdapter(0);
  emulation::SetTextValue(ClassKeyPath(3), "MatchingDeviceID",
                          kForeignDeviceId);
  emulation::AddKey(ClassKeyPath(9));  // no device ID, no value: created
  EXPECT_EQ(RunProgram({"ON"}, {kDiagnosticOn}), kExitScanned);
  EXPECT_EQ(
      ShownBoxes(),
      (std::vector<std::string>{
          "OS | OS Version is 501",
          "Service Name | SYSTEM\\CurrentControlSet\\Control\\Class\\"
          "{4D36E972-E325-11CE-BFC1-08002BE10318}\\%04d",
          "New parameter value | 1",
          "Opening HKEY_LOCAL_MACHINE | " + ClassKeyPath(0),
          "Opened HKEY_LOCAL_MACHINE | " + ClassKeyPath(0),
          std::string("MatchingDeviceID | ") + kOurDeviceId,
          "Current value | DozeguardEnabled is 0",
          "Updated | New DozeguardEnabled is 1, RC = 0",
          "Opened HKEY_LOCAL_MACHINE | " + ClassKeyPath(3),
          std::string("MatchingDeviceID | ") + kForeignDeviceId,
          "Not Norvane adapter | Didn't find PCI\\VEN_C2F7 in MatchingDeviceID",
          "Opened HKEY_LOCAL_MACHINE | " + ClassKeyPath(9),
          "Updated | DozeguardEnabled key created.  Value is is 1, RC = 0",
      }));
}

// A key that exists but refuses to be opened (a user without administrator
// rights) or a refused write must not pass for success: the scan still visits
// every slot and shows nothing, but the exit code says the job is unfinished.
TEST_F(AdapterScanTest, ReportsRefusedOpensAndWritesWithExitCode2) {
  // clang-format off
  static const struct {
    const char* label;
    LONG openStatus;
    LONG writeStatus;
    int exitCode;
  } cases[] = {
      {"all well", ERROR_SUCCESS, ERROR_SUCCESS, kExitScanned},
      {"open refused", ERROR_ACCESS_DENIED, ERROR_SUCCESS, kExitIncomplete},
      {"open fails otherwise", 1450, ERROR_SUCCESS, kExitIncomplete},
      {"write refused", ERROR_SUCCESS, ERROR_ACCESS_DENIED, kExitIncomplete},
  };
  // clang-format on
  for (const auto& c : cases) {
    emulation::Reset();
    AddOurAdapter(2);
    emulation::AddKey(ClassKeyPath(2)).openStatus = c.openStatus;
    emulation::AddKey(ClassKeyPath(2)).writeStatus = c.writeStatus;
    AddOurAdapter(40);
    EXPECT_EQ(RunProgram({"ON"}), c.exitCode) << c.label;
    EXPECT_EQ(emulation::Opens().size(), 64u) << c.label;
    EXPECT_TRUE(emulation::MessageBoxes().empty()) << c.label;
    EXPECT_EQ(PowerSaverData(40), Bytes("1")) << c.label;
  }
}

// The least the job allows: one open per slot, one close per key that
// opened, one read for a foreign adapter, two reads and at most one write for
// one of ours.
TEST_F(AdapterScanTest, MakesTheFewestRegistryCallsTheJobAllows) {
  AddOurAdapter(0);  // needs a write
  emulation::SetTextValue(ClassKeyPath(1), "DozeguardEnabled", "1");
  emulation::SetTextValue(ClassKeyPath(1), "MatchingDeviceID", kOurDeviceId);
  emulation::SetTextValue(ClassKeyPath(2), "MatchingDeviceID",
                          kForeignDeviceId);
  emulation::AddKey(ClassKeyPath(3));  // no device ID, no value: created
  EXPECT_EQ(RunProgram({"ON"}), kExitScanned);
  EXPECT_EQ(emulation::Calls().opens, 64);
  EXPECT_EQ(emulation::Calls().closes, 4);
  EXPECT_EQ(emulation::Calls().queries, 2 + 2 + 1 + 2);
  EXPECT_EQ(emulation::Calls().writes, 2);
}

TEST_F(AdapterScanTest, ChangesNothingButThePowerSaverValuesOfOurAdapters) {
  AddOurAdapter(0);
  emulation::SetTextValue(ClassKeyPath(0), "DriverDesc", "Norvane 10/100");
  emulation::SetDwordValue(ClassKeyPath(1), "DozeguardEnabled", 0);
  emulation::SetTextValue(ClassKeyPath(1), "MatchingDeviceID",
                          kForeignDeviceId);
  emulation::AddKey(ClassKeyPath(7));
  emulation::SetTextValue("SYSTEM\\CurrentControlSet\\Services\\Other",
                          "DozeguardEnabled", "0");
  emulation::Registry expected = emulation::TheRegistry();
  expected[ClassKeyPath(0)].values["DozeguardEnabled"].data = Bytes("1");
  expected[ClassKeyPath(7)].values["DozeguardEnabled"] = {REG_SZ, Bytes("1")};

  EXPECT_EQ(RunProgram({"ON"}), kExitScanned);
  EXPECT_TRUE(emulation::TheRegistry() == expected);
}

}  // namespace
