// SplitCommandLine on any command line, with buffers of exactly the
// documented size: every argument ends inside the text buffer and the list is
// null-terminated.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line = line.c_str();
  std::vector<char> text(SplitTextCapacity(line.size()));
  std::vector<char*> values(SplitValuesCapacity(line.size()));
  ArgumentList list =
      SplitCommandLine(line.c_str(), text.data(), values.data());
  if (list.count < 1 || list.values[list.count] != nullptr) __builtin_trap();
  for (int i = 0; i < list.count; ++i) {
    const char* value = list.values[i];
    if (value < text.data() ||
        value + strlen(value) >= text.data() + text.size()) {
      __builtin_trap();
    }
  }
  return 0;
}
