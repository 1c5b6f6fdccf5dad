// Small text helpers over 8-bit ANSI text. The Windows build has no C
// runtime, so these stand in for the few <string.h> functions we need.
#ifndef DOZEGUARD_UPDATE_ASCII_TEXT_H_
#define DOZEGUARD_UPDATE_ASCII_TEXT_H_

#include <stddef.h>

// Upper-cases a to z only; every other byte, those above 127 too, is kept.
inline char UpperCaseLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Upper-cases a NUL-terminated text in place, a to z only.
void UpperCaseText(char* text);

// True when `needle` occurs anywhere in `haystack` (both NUL-terminated),
// compared byte for byte.
bool TextContains(const char* haystack, const char* needle);

// True when the two NUL-terminated texts are equal byte for byte.
bool TextEquals(const char* a, const char* b);

#endif  // DOZEGUARD_UPDATE_ASCII_TEXT_H_
