// ParseStateArgument on any text: never reads past the NUL, and accepts only
// ON or OFF after leading dashes and slashes.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "update/run_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // the argument ends at its first NUL, as on Windows
  RequestedState state = -1;
  if (ParseStateArgument(text.c_str(), &state)) {
    std::string rest = text.substr(text.find_first_not_of("-/"));
    for (char& c : rest)
      c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (!((rest == "ON" && state == 1) || (rest == "OFF" && state == 0))) {
      __builtin_trap();
    }
  } else if (state != -1) {
    __builtin_trap();
  }
  return 0;
}
