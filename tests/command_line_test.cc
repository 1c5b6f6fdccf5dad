#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/command_line.h"

namespace {

// Splits with buffers of exactly the documented size, so that AddressSanitizer
// catches any write past them.
std::vector<std::string> Split(const std::string& line) {
  std::vector<char> text(SplitTextCapacity(line.size()));
  std::vector<char*> values(SplitValuesCapacity(line.size()));
  ArgumentList list =
      SplitCommandLine(line.c_str(), text.data(), values.data());
  EXPECT_EQ(list.values[list.count], nullptr);
  return std::vector<std::string>(list.values, list.values + list.count);
}

TEST(SplitCommandLine, FollowsTheMicrosoftRuntimeRules) {
  // clang-format off
  static const struct {
    const char* line;
    std::vector<std::string> arguments;
  } cases[] = {
      {"", {""}},
      {"prog", {"prog"}},
      {"prog ON", {"prog", "ON"}},
      {"prog \t ON \t OFF  ", {"prog", "ON", "OFF"}},
      {" ON", {"", "ON"}},  // a leading blank ends an empty program name
      {"\"C:\\Program Files\\d.exe\" ON", {"C:\\Program Files\\d.exe", "ON"}},
      {"C:\\a\"b c\"\\d.exe ON", {"C:\\ab c\\d.exe", "ON"}},
      {"p\\\" ON", {"p\\ ON"}},  // no backslash rule in the program name:
                                  // the quote opens quoting
      {"p \"O N\"", {"p", "O N"}},
      {"p O\"N\"", {"p", "ON"}},
      {"p \"\"", {"p", ""}},
      {"p \"\" ON", {"p", "", "ON"}},
      {"p a\\b", {"p", "a\\b"}},
      {"p a\\\\b", {"p", "a\\\\b"}},
      {"p a\\\\\"b c\"", {"p", "a\\b c"}},      // 2n backslashes: n, quote toggles
      {"p a\\\"b", {"p", "a\"b"}},              // 2n+1: n and a literal quote
      {"p a\\\\\\\"b", {"p", "a\\\"b"}},
      {"p \"a\\\"b\"", {"p", "a\"b"}},
      {"p a\\", {"p", "a\\"}},
      {"p \"unterminated arg", {"p", "unterminated arg"}},
      {"p \"a\"\"b\"", {"p", "ab"}},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Split(c.line), c.arguments) << "command line: " << c.line;
  }
}

TEST(SplitCommandLine, ReadsANullLineAsEmpty) {
  char text[1];
  char* values[2];
  ArgumentList list = SplitCommandLine(nullptr, text, values);
  ASSERT_EQ(list.count, 1);
  EXPECT_STREQ(list.values[0], "");
}

TEST(EnvironmentBlockHolds, MatchesTheNameInAnyCaseWithAnyValue) {
  // clang-format off
  static const struct {
    std::vector<std::string> entries;
    bool holds;
  } cases[] = {
      {{}, false},
      {{"DOZEGUARDENABLE=1"}, true},
      {{"DOZEGUARDENABLE=0"}, true},
      {{"DOZEGUARDENABLE="}, true},  // an empty value counts as present
      {{"dozeguardEnable=yes"}, true},
      {{"=C:=C:\\", "PATH=x", "DozeguardEnable=0"}, true},
      {{"DOZEGUARDENABLEX=1"}, false},
      {{"XDOZEGUARDENABLE=1"}, false},
      {{"DOZEGUARDENABL=1"}, false},
      {{"DOZEGUARDENABLE"}, false},  // no '=': not a variable
      {{"PATH=DOZEGUARDENABLE=1"}, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::string block;
    for (const std::string& entry : c.entries) block += entry + '\0';
    block += '\0';
    std::string shown = ::testing::PrintToString(c.entries);
    EXPECT_EQ(EnvironmentBlockHolds(block.c_str(), "DOZEGUARDENABLE"), c.holds)
        << shown;
  }
  EXPECT_FALSE(EnvironmentBlockHolds(nullptr, "DOZEGUARDENABLE"));
}

}  // namespace
