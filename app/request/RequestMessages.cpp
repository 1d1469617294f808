#include "app/request/RequestMessages.h"


std::string FormatPathMessage(const char* format, const std::string& path) {
  std::string text = format;
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}
