// Splitting a Windows command line into arguments, and finding a variable in
// an environment block. Plain functions over text, shared by the Windows
// start-up code and the host tests; they call nothing.
#ifndef DOZEGUARD_PLATFORM_COMMAND_LINE_H_
#define DOZEGUARD_PLATFORM_COMMAND_LINE_H_

#include <stddef.h>

// The split command line: values[0] is the program name, values[count] is null.
struct ArgumentList {
  int count;
  char** values;
};

// Room SplitCommandLine needs for a command line of `length` characters.
inline size_t SplitTextCapacity(size_t length) { return length + 1; }
inline size_t SplitValuesCapacity(size_t length) { return length + 2; }

// Splits `line` by the Microsoft C runtime's rules:
// - the program name ends at the first blank or tab outside quotes; quotes in
//   it toggle quoting and are dropped, backslashes are literal;
// - arguments are separated by blanks and tabs outside quotes;
// - 2n backslashes before a quote give n backslashes and the quote toggles
//   quoting; 2n+1 give n backslashes and a literal quote;
// - other backslashes are literal.
// Writes the argument texts, each NUL-terminated, into `text` (at least
// SplitTextCapacity(strlen(line)) bytes) and their addresses into `values`
// (at least SplitValuesCapacity(strlen(line)) entries). A null `line` reads
// as empty. Returns the list; its count is at least 1 (the program name).
ArgumentList SplitCommandLine(const char* line, char* text, char** values);

// True when the environment block (NUL-terminated "NAME=value" entries, ended
// by an empty entry, as GetEnvironmentStringsA returns it) holds a variable
// called `name`, compared without regard to letter case as Windows does. The
// value, even an empty one, is not looked at. A null block holds nothing.
bool EnvironmentBlockHolds(const char* block, const char* name);

#endif  // DOZEGUARD_PLATFORM_COMMAND_LINE_H_
