#include <climits>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "update/value_update.h"

namespace {

const std::string kAdapterKey = "SYSTEM\\Adapter";

std::vector<BYTE> Dword(uint32_t n) {
  return {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8),
          static_cast<BYTE>(n >> 16), static_cast<BYTE>(n >> 24)};
}

std::vector<BYTE> Concat(std::vector<BYTE> a, const std::vector<BYTE>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Opens the adapter key as the scan does, runs the value update on it and
// closes it again.
bool UpdateAdapter(RequestedState state, bool diagnostic = false) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAdapterKey.c_str(), 0,
                          KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  bool written = UpdatePowerSaverValue(key, TestSettings(state, diagnostic));
  RegCloseKey(key);
  return written;
}

class ValueUpdateTest : public EmulatedWindowsTest {};

// Each kind of stored value, what the update makes of it, and whether it
// writes. "none" as type means the value is absent.
TEST_F(ValueUpdateTest, BringsEachKindOfValueToTheRequestedState) {
  const DWORD kAbsent = 0xFFFFFFFF;
  // clang-format off
  static const struct {
    const char* label;
    DWORD type;
    std::vector<BYTE> data;
    RequestedState request;
    DWORD typeAfter;
    std::vector<BYTE> dataAfter;
  } cases[] = {
      {"absent, ON", kAbsent, {}, 1, REG_SZ, Bytes("1")},
      {"absent, OFF", kAbsent, {}, 0, REG_SZ, Bytes("0")},
      {"dword 0, ON", REG_DWORD, Dword(0), 1, REG_DWORD, Dword(1)},
      {"dword 1, ON: kept", REG_DWORD, Dword(1), 1, REG_DWORD, Dword(1)},
      {"dword 2, ON", REG_DWORD, Dword(2), 1, REG_DWORD, Dword(1)},
      {"dword 2, OFF", REG_DWORD, Dword(2), 0, REG_DWORD, Dword(0)},
      {"dword -1, OFF", REG_DWORD, Dword(0xFFFFFFFF), 0, REG_DWORD, Dword(0)},
      {"dword 0x100, OFF: all four bytes count", REG_DWORD, Dword(0x100), 0,
       REG_DWORD, Dword(0)},
      // A REG_DWORD shorter than four bytes becomes a well-formed one.
      {"dword of 0 bytes, ON", REG_DWORD, {}, 1, REG_DWORD, Dword(1)},
      {"dword of 0 bytes, OFF: reads 0, kept", REG_DWORD, {}, 0, REG_DWORD, {}},
      {"dword of 1 byte 01, OFF", REG_DWORD, {1}, 0, REG_DWORD, Dword(0)},
      {"dword of 3 bytes, ON", REG_DWORD, {0, 0, 0}, 1, REG_DWORD, Dword(1)},
      // A longer one keeps its byte count and the bytes past the fourth.
      {"dword of 6 bytes, ON", REG_DWORD, Concat(Dword(0), {0xAA, 0xBB}), 1,
       REG_DWORD, Concat(Dword(1), {0xAA, 0xBB})},
      {"dword of 128 bytes, ON", REG_DWORD,
       Concat(Dword(7), std::vector<BYTE>(124, 0x5A)), 1, REG_DWORD,
       Concat(Dword(1), std::vector<BYTE>(124, 0x5A))},
      {"dword of 129 bytes: unreadable", REG_DWORD, std::vector<BYTE>(129, 0),
       1, REG_SZ, Bytes("1")},
      {"text 1, ON: kept", REG_SZ, Bytes("1"), 1, REG_SZ, Bytes("1")},
      {"text 1 with NUL, ON: kept", REG_SZ, Bytes(std::string("1\0", 2)), 1,
       REG_SZ, Bytes(std::string("1\0", 2))},
      {"text 0, ON", REG_SZ, Bytes("0"), 1, REG_SZ, Bytes("1")},
      {"text 1 with NUL, OFF", REG_SZ, Bytes(std::string("1\0", 2)), 0, REG_SZ,
       Bytes("0")},
      {"text ' +1', ON: kept", REG_SZ, Bytes(" +1"), 1, REG_SZ, Bytes(" +1")},
      {"text 01, ON: kept", REG_SZ, Bytes("01"), 1, REG_SZ, Bytes("01")},
      {"text 1abc, ON: kept", REG_SZ, Bytes("1abc"), 1, REG_SZ, Bytes("1abc")},
      {"text abc, OFF: reads 0, kept", REG_SZ, Bytes("abc"), 0, REG_SZ,
       Bytes("abc")},
      {"text abc, ON", REG_SZ, Bytes("abc"), 1, REG_SZ, Bytes("1")},
      {"empty text, OFF: kept", REG_SZ, {}, 0, REG_SZ, {}},
      {"empty text, ON", REG_SZ, {}, 1, REG_SZ, Bytes("1")},
      {"text 2, OFF", REG_SZ, Bytes("2"), 0, REG_SZ, Bytes("0")},
      {"expandable text 0, ON", REG_EXPAND_SZ, Bytes("0"), 1, REG_EXPAND_SZ,
       Bytes("1")},
      {"binary digit 1, OFF", REG_BINARY, Bytes("1"), 0, REG_BINARY, Bytes("0")},
      {"binary byte 01, ON: not a digit", REG_BINARY, {1}, 1, REG_BINARY,
       Bytes("1")},
      {"text of 128 zeros, ON", REG_SZ, Bytes(std::string(128, '0')), 1, REG_SZ,
       Bytes("1")},
      {"text of 128 bytes reading 1, ON: kept", REG_SZ,
       Bytes(std::string(127, ' ') + "1"), 1, REG_SZ,
       Bytes(std::string(127, ' ') + "1")},
      {"text of 129 bytes: unreadable", REG_SZ, Bytes(std::string(129, '1')), 1,
       REG_SZ, Bytes("1")},
      {"binary of 200 bytes: replaced by text", REG_BINARY,
       std::vector<BYTE>(200, 1), 0, REG_SZ, Bytes("0")},
  };
  // clang-format on
  for (const auto& c : cases) {
    emulation::Reset();
    emulation::AddKey(kAdapterKey);
    if (c.type != kAbsent) {
      emulation::SetValue(kAdapterKey, "DozeguardEnabled", c.type, c.data);
    }
    EXPECT_TRUE(UpdateAdapter(c.request)) << c.label;
    const emulation::Value& after =
        emulation::TheRegistry()[kAdapterKey].values["DozeguardEnabled"];
    EXPECT_EQ(after.type, c.typeAfter) << c.label;
    EXPECT_EQ(after.data, c.dataAfter) << c.label;
    bool unchanged = c.type == c.typeAfter && c.data == c.dataAfter;
    EXPECT_EQ(emulation::Writes().size(), unchanged ? 0u : 1u) << c.label;
    EXPECT_EQ(emulation::TheRegistry()[kAdapterKey].values.size(), 1u)
        << "only DozeguardEnabled is touched: " << c.label;
  }
}

TEST_F(ValueUpdateTest, ReplacesAValueThatRefusesToBeReadWithText) {
  emulation::SetDwordValue(kAdapterKey, "DozeguardEnabled", 0);
  emulation::AddKey(kAdapterKey).values["DozeguardEnabled"].readStatus =
      ERROR_ACCESS_DENIED;
  EXPECT_TRUE(UpdateAdapter(1));
  ASSERT_EQ(emulation::Writes().size(), 1u);
  EXPECT_EQ(emulation::Writes()[0].type, REG_SZ);
  EXPECT_EQ(emulation::Writes()[0].data, Bytes("1"));
}

TEST_F(ValueUpdateTest, ShowsTheBoxesOfEachPathInDiagnosticMode) {
  // clang-format off
  static const struct {
    const char* label;
    bool present;
    std::vector<BYTE> text;
    LONG writeStatus;
    std::vector<std::string> boxes;
    bool succeeds;
  } cases[] = {
      {"created", false, {}, 0,
       {"Updated | DozeguardEnabled key created.  Value is is 1, RC = 0"}, true},
      {"creation refused", false, {}, ERROR_ACCESS_DENIED,
       {"Updated | DozeguardEnabled key created.  Value is is 1, RC = 5"},
       false},
      {"already in state", true, Bytes("1"), 0,
       {"Current value | DozeguardEnabled is 1"}, true},
      {"rewritten", true, Bytes("-12"), 0,
       {"Current value | DozeguardEnabled is -12",
        "Updated | New DozeguardEnabled is 1, RC = 0"},
       true},
      {"rewrite refused, status in hex", true, Bytes("0"), ERROR_MORE_DATA,
       {"Current value | DozeguardEnabled is 0",
        "Updated | New DozeguardEnabled is 1, RC = ea"},
       false},
  };
  // clang-format on
  for (const auto& c : cases) {
    emulation::Reset();
    emulation::AddKey(kAdapterKey).writeStatus = c.writeStatus;
    if (c.present) {
      emulation::SetValue(kAdapterKey, "DozeguardEnabled", REG_SZ, c.text);
    }
    EXPECT_EQ(UpdateAdapter(1, true), c.succeeds) << c.label;
    EXPECT_EQ(ShownBoxes(), c.boxes) << c.label;
  }
}

TEST_F(ValueUpdateTest, ShowsNothingOutsideDiagnosticMode) {
  emulation::AddKey(kAdapterKey).writeStatus = ERROR_ACCESS_DENIED;
  EXPECT_FALSE(UpdateAdapter(1));
  EXPECT_TRUE(emulation::MessageBoxes().empty());
  EXPECT_EQ(emulation::Writes().size(), 1u) << "a refused write is not retried";
}

TEST(ReadDecimalText, ReadsLikeAtoiWithWrapAround) {
  // clang-format off
  static const struct {
    std::string text;
    DWORD count;  // bytes offered; the text may go on past them
    int32_t value;
  } cases[] = {
      {"1", 1, 1},
      {"0", 1, 0},
      {"", 0, 0},
      {"abc", 3, 0},
      {"-", 1, 0},
      {"+", 1, 0},
      {" +1", 3, 1},
      {"\t\n\v\f\r 7", 7, 7},
      {"01", 2, 1},
      {"1abc", 4, 1},
      {"-12", 3, -12},
      {"+-1", 3, 0},
      {"--1", 2, 0},
      {"- 1", 3, 0},
      {"123", 2, 12},                    // stops after `count` bytes
      {std::string("12\0" "34", 5), 5, 12},  // and at the first NUL
      {"2147483647", 10, INT_MAX},
      {"2147483648", 10, INT_MIN},       // wraps modulo 2^32
      {"-2147483648", 11, INT_MIN},
      {"4294967297", 10, 1},
      {"99999999999", 11, 1215752191},
      {std::string(127, ' ') + "9", 128, 9},
  };
  // clang-format on
  for (const auto& c : cases) {
    // The bytes sit in a buffer of exactly `count`, so a read past it shows.
    std::vector<BYTE> bytes(c.text.begin(), c.text.begin() + c.count);
    EXPECT_EQ(ReadDecimalText(bytes.data(), c.count), c.value)
        << "text: '" << c.text << "' count " << c.count;
  }
}

}  // namespace
