#include "app/request/ResultTest.h"

#include <cstring>

namespace {
unsigned char FoldLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 0x20) : c;
}
}  // namespace

bool SameTextIgnoringLetterCase(const std::string& a, const std::string& b) {
  const size_t lengthA = std::strlen(a.c_str());
  const size_t lengthB = std::strlen(b.c_str());
  if (lengthA != lengthB) return false;
  for (size_t i = 0; i < lengthA; ++i) {
    const auto byteA = static_cast<unsigned char>(a[i]);
    const auto byteB = static_cast<unsigned char>(b[i]);
    if (FoldLetter(byteA) != FoldLetter(byteB)) return false;
  }
  return true;
}
