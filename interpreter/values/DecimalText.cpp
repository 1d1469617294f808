#include "interpreter/values/DecimalText.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

const char* SkipSpace(const char* text) {
  while (IsSpace(*text)) ++text;
  return text;
}

// Reading modulo 2^64 and cutting to 32 bits gives the same bits as reading modulo 2^32.
bool ParseWrapping(const char* text, uint64_t& out) {
  if (text == nullptr) return false;
  const char* p = SkipSpace(text);
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  if (*p < '0' || *p > '9') return false;
  uint64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + static_cast<uint64_t>(*p - '0');
  out = negative ? uint64_t{0} - value : value;
  return true;
}

}  // namespace

bool ParseInt32Text(const char* text, int32_t& out) {
  uint64_t v = 0;
  if (!ParseWrapping(text, v)) return false;
  out = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

bool ParseUInt32Text(const char* text, uint32_t& out) {
  uint64_t v = 0;
  if (!ParseWrapping(text, v)) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

bool ParseUInt64Text(const char* text, uint64_t& out) { return ParseWrapping(text, out); }

bool ParseDoubleText(const char* text, double& out) {
  if (text == nullptr) return false;
  // The window toolkit sets the process locale from the desktop; a program's texts always
  // use the '.' of the C locale.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const char* start = SkipSpace(text);
  char* end = nullptr;
  const double v = cLocale != static_cast<locale_t>(nullptr) ? strtod_l(start, &end, cLocale)
                                                             : std::strtod(start, &end);
  if (end == start) return false;
  out = v;
  return true;
}

std::string Int32Text(int32_t v) { return std::to_string(v); }
std::string UInt32Text(uint32_t v) { return std::to_string(v); }
std::string UInt64Text(uint64_t v) { return std::to_string(v); }
