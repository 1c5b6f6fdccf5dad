#include "platform/command_line.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char FoldLetterCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Copies the program name from `*line` to `*out`. Only quotes are special.
void SplitProgramName(const char** line, char** out) {
  const char* in = *line;
  bool quoted = false;
  for (; *in != '\0' && (quoted || !IsBlank(*in)); ++in) {
    if (*in == '"') {
      quoted = !quoted;
    } else {
      *(*out)++ = *in;
    }
  }
  *(*out)++ = '\0';
  *line = in;
}

// Copies one argument from `*line` to `*out`, applying the backslash and
// quote rules, and leaves `*line` at the blank or NUL that ended it.
void SplitArgument(const char** line, char** out) {
  const char* in = *line;
  bool quoted = false;
  while (*in != '\0' && (quoted || !IsBlank(*in))) {
    size_t backslashes = 0;
    while (*in == '\\') {
      ++backslashes;
      ++in;
    }
    if (*in == '"') {
      for (size_t i = 0; i < backslashes / 2; ++i) *(*out)++ = '\\';
      if (backslashes % 2 == 1) {
        *(*out)++ = '"';
      } else {
        quoted = !quoted;
      }
      ++in;
    } else {
      for (size_t i = 0; i < backslashes; ++i) *(*out)++ = '\\';
      if (*in != '\0' && (quoted || !IsBlank(*in))) *(*out)++ = *in++;
    }
  }
  *(*out)++ = '\0';
  *line = in;
}

}  // namespace

ArgumentList SplitCommandLine(const char* line, char* text, char** values) {
  if (line == nullptr) line = "";
  ArgumentList list = {0, values};
  values[list.count++] = text;
  SplitProgramName(&line, &text);
  for (;;) {
    while (IsBlank(*line)) ++line;
    if (*line == '\0') break;
    values[list.count++] = text;
    SplitArgument(&line, &text);
  }
  values[list.count] = nullptr;
  return list;
}

bool EnvironmentBlockHolds(const char* block, const char* name) {
  if (block == nullptr) return false;
  for (const char* entry = block; *entry != '\0';) {
    const char* a = entry;
    const char* b = name;
    while (*b != '\0' && FoldLetterCase(*a) == FoldLetterCase(*b)) {
      ++a;
      ++b;
    }
    if (*b == '\0' && *a == '=') return true;
    while (*entry != '\0') ++entry;
    ++entry;  // past this entry's NUL to the next entry
  }
  return false;
}
