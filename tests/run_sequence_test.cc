#include <string>
#include <vector>

#include "tests/test_support.h"
#include "update/run_sequence.h"

namespace {

const char kClassTemplate[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\"
    "{4D36E972-E325-11CE-BFC1-08002BE10318}\\%04d";
const char kServiceTemplate[] =
    "SYSTEM\\CurrentControlSet\\Services\\%s%d\\Parameters";
const char kNetClassTemplate[] =
    "System\\CurrentControlSet\\Services\\Class\\Net\\%04d";

std::string UsageBox() {
  return std::string(kUsageCaption) + " | " + kUsageText;
}

TEST(ParseStateArgument, AcceptsOnAndOffInAnyCaseAfterDashesAndSlashes) {
  // clang-format off
  static const struct {
    const char* text;
    RequestedState state;
  } accepted[] = {
      {"ON", 1},   {"on", 1},    {"On", 1},     {"oN", 1},    {"/on", 1},
      {"-ON", 1},  {"OFF", 0},   {"off", 0},    {"oFf", 0},   {"--/off", 0},
      {"/-Off", 0}, {"//--//ON", 1},
  };
  // clang-format on
  for (const auto& c : accepted) {
    RequestedState state = -7;
    EXPECT_TRUE(ParseStateArgument(c.text, &state)) << c.text;
    EXPECT_EQ(state, c.state) << c.text;
  }
}

TEST(ParseStateArgument, RefusesEverythingElse) {
  // clang-format off
  static const char* const refused[] = {
      "ON ",      " ON", "ONE", "ONOFF", "OF",  "O",   "1",    "0",
      "TRUE",     "-",   "/",   "",      "O-N", "ON-", "\\ON",
      "\xcf\xce",  // bytes above 127 are not letters and do not fold
      "\xefN",
  };
  // clang-format on
  for (const char* text : refused) {
    RequestedState state = -7;
    EXPECT_FALSE(ParseStateArgument(text, &state)) << text;
    EXPECT_EQ(state, -7) << "a refusal must leave the state alone: " << text;
  }
}

TEST(ParseStateArgument, ReadsAVeryLongArgumentWithoutCopyingIt) {
  std::string dashes(100000, '-');
  RequestedState state = -1;
  EXPECT_TRUE(ParseStateArgument((dashes + "on").c_str(), &state));
  EXPECT_EQ(state, 1);
  EXPECT_FALSE(
      ParseStateArgument((dashes + std::string(100000, 'O')).c_str(), &state));
}

TEST(SelectKeyPathScheme, FollowsTheVersionAndPlatform) {
  // clang-format off
  static const struct {
    int32_t version;
    uint32_t platform;
    KeyPathScheme scheme;
  } cases[] = {
      {400, VER_PLATFORM_WIN32_NT, ServiceKeyScheme},        // NT 4.0
      {400, VER_PLATFORM_WIN32_WINDOWS, NetClassKeyScheme},  // Windows 95
      {400, VER_PLATFORM_WIN32s, NetClassKeyScheme},
      {410, VER_PLATFORM_WIN32_WINDOWS, ClassKeyScheme},  // Windows 98
      {490, VER_PLATFORM_WIN32_WINDOWS, ClassKeyScheme},  // Windows Me
      {500, VER_PLATFORM_WIN32_NT, ClassKeyScheme},
      {501, VER_PLATFORM_WIN32_NT, ClassKeyScheme},
      {1000, VER_PLATFORM_WIN32_NT, ClassKeyScheme},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(SelectKeyPathScheme(c.version, c.platform), c.scheme)
        << c.version << "/" << c.platform;
  }
}

class RunUpdateTest : public EmulatedWindowsTest {};

TEST_F(RunUpdateTest, ShowsTheUsageBoxAndRefusesAMissingOrWrongArgument) {
  // clang-format off
  static const std::vector<std::string> cases[] = {
      {}, {""}, {"ON "}, {"ONE"}, {"1"}, {"TRUE"}, {"-"}, {"ENABLE", "ON"},
  };
  // clang-format on
  for (const auto& arguments : cases) {
    emulation::Reset();
    std::string shown = ::testing::PrintToString(arguments);
    EXPECT_EQ(RunProgram(arguments), kExitRefused) << shown;
    ASSERT_EQ(emulation::MessageBoxes().size(), 1u) << shown;
    const emulation::MessageBoxRecord& box = emulation::MessageBoxes()[0];
    EXPECT_EQ(box.owner, emulation::DesktopWindow());
    EXPECT_EQ(box.caption, "Dozeguard Update Utility");
    EXPECT_EQ(box.style, MB_OK);
    EXPECT_EQ(emulation::Calls().opens, 0) << "refused before the registry";
  }
}

TEST_F(RunUpdateTest, UsageTextIsTheEightLinesJoinedByLineFeeds) {
  EXPECT_EQ(std::string(kUsageText),
            "USAGE:  DozeguardEnable {ON|OFF}\n"
            "\n"
            "Turns Dozeguard ON or OFF for Norvane(R) Network Adapters\n"
            "\n"
            "DozeguardEnable ON - Turns Dozeguard ON\n"
            "DozeguardEnable OFF - Turns Dozeguard OFF\n"
            "\n"
            "The system must be rebooted before the change will take effect");
}

TEST_F(RunUpdateTest, ReadsOnlyTheFirstArgument) {
  emulation::SetTextValue(ClassKeyPath(0), "DozeguardEnabled", "0");
  EXPECT_EQ(RunProgram({"ON", "OFF"}), kExitScanned);
  EXPECT_EQ(
      emulation::TheRegistry()[ClassKeyPath(0)].values["DozeguardEnabled"].data,
      Bytes("1"));
  EXPECT_TRUE(emulation::MessageBoxes().empty());
}

// The version gate and the scheme, as a diagnostic-mode user sees them, and
// the key the scan tries first.
TEST_F(RunUpdateTest, GatesOnTheVersionAndChoosesTheSchemeFromIt) {
  // clang-format off
  static const struct {
    DWORD major, minor, platform;
    int exitCode;
    const char* versionBox;
    const char* templateBox;  // null: refused before the scheme is chosen
    const char* firstKey;
  } cases[] = {
      {3, 10, VER_PLATFORM_WIN32s, kExitRefused, "OS Version is 310", nullptr,
       nullptr},
      {3, 51, VER_PLATFORM_WIN32_NT, kExitRefused, "OS Version is 351", nullptr,
       nullptr},
      {3, 99, VER_PLATFORM_WIN32_NT, kExitRefused, "OS Version is 399", nullptr,
       nullptr},
      {4, 0, VER_PLATFORM_WIN32_NT, kExitScanned, "OS Version is 400",
       kServiceTemplate, "SYSTEM\\CurrentControlSet\\Services\\VQ5401\\Parameters"},
      {4, 0, VER_PLATFORM_WIN32_WINDOWS, kExitScanned, "OS Version is 400",
       kNetClassTemplate, "System\\CurrentControlSet\\Services\\Class\\Net\\0000"},
      {4, 10, VER_PLATFORM_WIN32_WINDOWS, kExitScanned, "OS Version is 410",
       kClassTemplate, nullptr},
      {4, 90, VER_PLATFORM_WIN32_WINDOWS, kExitScanned, "OS Version is 490",
       kClassTemplate, nullptr},
      {5, 0, VER_PLATFORM_WIN32_NT, kExitScanned, "OS Version is 500",
       kClassTemplate, nullptr},
      {6, 2, VER_PLATFORM_WIN32_NT, kExitScanned, "OS Version is 602",
       kClassTemplate, nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    emulation::Reset();
    emulation::SetWindowsVersion(c.major, c.minor, c.platform);
    const std::string label = c.versionBox;
    EXPECT_EQ(RunProgram({"ON"}, {kDiagnosticOn}), c.exitCode) << label;
    std::vector<std::string> boxes = ShownBoxes();
    ASSERT_GE(boxes.size(), 1u) << label;
    EXPECT_EQ(boxes[0], std::string("OS | ") + c.versionBox);
    if (c.templateBox == nullptr) {
      EXPECT_EQ(boxes.size(), 1u) << label;
      EXPECT_EQ(emulation::Calls().opens, 0) << label;
      continue;
    }
    ASSERT_GE(boxes.size(), 3u) << label;
    EXPECT_EQ(boxes[1], std::string("Service Name | ") + c.templateBox);
    EXPECT_EQ(boxes[2], "New parameter value | 1");
    ASSERT_EQ(emulation::Opens().size(), 64u) << label;
    const std::string firstKey = c.firstKey ? c.firstKey : ClassKeyPath(0);
    EXPECT_EQ(emulation::Opens()[0].path, firstKey) << label;
  }
}

TEST_F(RunUpdateTest, RefusesAnOldOrUnknownVersionSilentlyEvenWithoutArgument) {
  emulation::SetWindowsVersion(3, 51, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(RunProgram({}), kExitRefused);
  EXPECT_TRUE(emulation::MessageBoxes().empty());

  emulation::Reset();
  emulation::SetWindowsVersion(5, 1, VER_PLATFORM_WIN32_NT, false);
  EXPECT_EQ(RunProgram({"ON"}, {kDiagnosticOn}), kExitRefused);
  EXPECT_EQ(ShownBoxes(), std::vector<std::string>{"OS | OS Version is 0"});
}

TEST_F(RunUpdateTest, DiagnosticModeShowsEachStepBeforeTheUsageBox) {
  EXPECT_EQ(RunProgram({}, {kDiagnosticOn}), kExitRefused);
  EXPECT_EQ(ShownBoxes(),
            (std::vector<std::string>{
                "OS | OS Version is 501",
                std::string("Service Name | ") + kClassTemplate, UsageBox()}));
  for (const auto& box : emulation::MessageBoxes()) {
    EXPECT_EQ(box.owner, emulation::DesktopWindow());
    EXPECT_EQ(box.style, MB_OK);
  }
}

TEST_F(RunUpdateTest, DiagnosticModeIsSwitchedOnByTheVariablesPresenceAlone) {
  // clang-format off
  static const struct {
    std::vector<std::string> environment;
    bool diagnostic;
  } cases[] = {
      {{}, false},
      {{"PATH=C:\\WINDOWS"}, false},
      {{"DOZEGUARDENABLE=0"}, true},
      {{"DOZEGUARDENABLE=off"}, true},
      {{"DOZEGUARDENABLE="}, true},
      {{"PATH=C:\\WINDOWS", "dozeguardenable=1"}, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    emulation::Reset();
    EXPECT_EQ(RunProgram({"OFF"}, c.environment), kExitScanned);
    EXPECT_EQ(emulation::MessageBoxes().empty(), !c.diagnostic)
        << ::testing::PrintToString(c.environment);
  }
}

}  // namespace
