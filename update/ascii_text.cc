#include "update/ascii_text.h"

void UpperCaseText(char* text) {
  for (; *text != '\0'; ++text) *text = UpperCaseLetter(*text);
}

bool TextContains(const char* haystack, const char* needle) {
  for (;; ++haystack) {
    const char* h = haystack;
    const char* n = needle;
    while (*n != '\0' && *h == *n) {
      ++h;
      ++n;
    }
    if (*n == '\0') return true;
    if (*haystack == '\0') return false;
  }
}

bool TextEquals(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}
